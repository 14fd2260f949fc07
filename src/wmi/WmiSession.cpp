#include "wmi/WmiSession.h"

#include "wmi/ComOwners.h"
#include "wmi/WmiRecording.h"

#include <wbemidl.h>

// Declared after the locator, the services are released before it.
struct WmiInterfaces {
    ComOwner<IWbemLocator> locator;
    ComOwner<IWbemServices> services;
};

namespace {

// A provider that stalls longer ends the query with the rows read so far.
constexpr long kNextTimeoutMs = 5000;

WmiRow ReadRow(IWbemClassObject& object, const std::vector<std::wstring>& properties) {
    WmiRow row;
    for (const std::wstring& name : properties) {
        if (row.find(name) != row.end()) {
            continue;
        }
        VariantOwner value;
        CIMTYPE type = CIM_EMPTY;
        if (SUCCEEDED(object.Get(name.c_str(), 0, &value.value, &type, nullptr))) {
            row.emplace(name, CimValueToText(value.value, type));
        }
    }
    return row;
}

} // namespace

WmiSession::WmiSession(const std::wstring& namespacePath)
    : interfaces(std::make_unique<WmiInterfaces>()), namespacePath(namespacePath) {
    HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                  reinterpret_cast<void**>(interfaces->locator.Put()));
    if (SUCCEEDED(hr) && !interfaces->locator) {
        hr = E_POINTER;
    }
    if (FAILED(hr)) {
        lastError = L"WMI-Locator konnte nicht erstellt werden: " + FormatHResult(hr);
        return;
    }

    BstrOwner path(namespacePath);
    hr = interfaces->locator->ConnectServer(path.Get(), nullptr, nullptr, nullptr, WBEM_FLAG_CONNECT_USE_MAX_WAIT,
                                            nullptr, nullptr, interfaces->services.Put());
    if (SUCCEEDED(hr) && !interfaces->services) {
        hr = E_POINTER;
    }
    if (FAILED(hr)) {
        interfaces->services.Reset();
        lastError = L"WMI-Namespace " + namespacePath + L" nicht erreichbar: " + FormatHResult(hr);
        return;
    }

    hr = CoSetProxyBlanket(interfaces->services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                           RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    if (FAILED(hr)) {
        // The services stay usable with the default blanket, so the session still counts as connected.
        lastError = L"WMI-Sicherheitskontext konnte nicht gesetzt werden: " + FormatHResult(hr);
    }
}

WmiSession::WmiSession(const std::wstring& namespacePath, WmiRecording& recording)
    : interfaces(std::make_unique<WmiInterfaces>()), namespacePath(namespacePath), recording(&recording) {
    recording.opened.push_back(namespacePath);
    if (!IsConnected()) {
        lastError = L"WMI-Namespace " + namespacePath + L" nicht erreichbar: " +
                    FormatHResult(static_cast<HRESULT>(WBEM_E_INVALID_NAMESPACE));
    }
}

WmiSession::~WmiSession() = default;

bool WmiSession::IsConnected() const {
    if (recording != nullptr) {
        return RecordingHasNamespace(*recording, namespacePath);
    }
    return interfaces && interfaces->services;
}

std::unique_ptr<WmiSession> WmiSession::OpenNamespace(const std::wstring& otherNamespace) const {
    if (recording != nullptr) {
        return std::make_unique<WmiSession>(otherNamespace, *recording);
    }
    return std::make_unique<WmiSession>(otherNamespace);
}

const std::wstring& WmiSession::LastError() const {
    return lastError;
}

std::vector<WmiRow> WmiSession::Query(const std::wstring& wql, const std::vector<std::wstring>& properties) {
    std::vector<WmiRow> rows;
    if (!IsConnected()) {
        return rows;
    }
    lastError.clear();
    if (recording != nullptr) {
        return ReplayQuery(*recording, namespacePath, wql, properties);
    }

    BstrOwner language(L"WQL");
    BstrOwner query(wql);
    ComOwner<IEnumWbemClassObject> enumerator;
    HRESULT hr = interfaces->services->ExecQuery(language.Get(), query.Get(),
                                                 WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                                 enumerator.Put());
    if (SUCCEEDED(hr) && !enumerator) {
        hr = E_POINTER;
    }
    if (FAILED(hr)) {
        lastError = L"WMI-Abfrage fehlgeschlagen: " + FormatHResult(hr) + L" | " + wql;
        return rows;
    }

    for (;;) {
        ComOwner<IWbemClassObject> object;
        ULONG returned = 0;
        hr = enumerator->Next(kNextTimeoutMs, 1, object.Put(), &returned);
        // A failing call is reported even when it delivered no object: otherwise a broken
        // enumeration would read exactly like a class without instances.
        if (FAILED(hr)) {
            lastError = L"WMI-Ergebnis konnte nicht vollständig gelesen werden: " + FormatHResult(hr);
            break;
        }
        // WBEM_S_FALSE is the end of the result, WBEM_S_TIMEDOUT a provider that stalled.
        if (hr == WBEM_S_FALSE || returned == 0 || !object) {
            break;
        }
        rows.push_back(ReadRow(*object.Get(), properties));
    }
    return rows;
}
