#pragma once

// One connection to one WMI namespace of the local machine. Failures never throw: they leave
// a German text in LastError() and an empty or shortened result.
//
// The calling thread must have initialised COM; a session is used only on the thread that made it.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <windows.h>
#include <oaidl.h>
#include <wbemcli.h>

// Property name, exactly as requested, to its value text. A property whose Get failed is absent.
using WmiRow = std::unordered_map<std::wstring, std::wstring>;

struct WmiInterfaces;
struct WmiRecording;

class WmiSession {
public:
    explicit WmiSession(const std::wstring& namespacePath);
    // Answers from the recording instead of WMI (wmi/WmiRecording.h), which must outlive the session.
    WmiSession(const std::wstring& namespacePath, WmiRecording& recording);
    ~WmiSession();
    WmiSession(const WmiSession&) = delete;
    WmiSession& operator=(const WmiSession&) = delete;

    bool IsConnected() const;
    const std::wstring& LastError() const;
    std::vector<WmiRow> Query(const std::wstring& wql, const std::vector<std::wstring>& properties);
    // A session on another namespace that asks where this one asks: WMI, or the same recording.
    std::unique_ptr<WmiSession> OpenNamespace(const std::wstring& namespacePath) const;

private:
    std::unique_ptr<WmiInterfaces> interfaces;
    std::wstring lastError;
    std::wstring namespacePath;
    WmiRecording* recording = nullptr;
};

// The row's value for key when present and not empty; otherwise fallback.
std::wstring GetRowValue(const WmiRow& row, const std::wstring& key, const std::wstring& fallback);

std::wstring VariantToText(const VARIANT& value);
std::wstring SafeArrayToText(const VARIANT& value);
// The value read as the CIM type Get reported for it. WMI hands unsigned integers over in signed
// automation types (a uint32 in VT_I4), so without the type a uint32 from 2^31 up reads negative.
std::wstring CimValueToText(const VARIANT& value, CIMTYPE cimType);
// "0x80041010 – <message>", with the system's text or the COM support class's stand-in.
std::wstring FormatHResult(HRESULT hr);
