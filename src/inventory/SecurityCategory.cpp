#include "inventory/SecurityCategory.h"

#include "inventory/QueryStep.h"
#include "wmi/WmiSession.h"

#include <memory>
#include <vector>

namespace {

struct FirmwareModeName {
    uint32_t type;
    const wchar_t* name;
};

constexpr FirmwareModeName kFirmwareModes[] = {
    {2, L"UEFI"},  // FirmwareTypeUefi
    {1, L"Legacy-BIOS"},  // FirmwareTypeBios
};

constexpr wchar_t kSecureBootKey[] = L"SYSTEM\\CurrentControlSet\\Control\\SecureBoot\\State";
constexpr wchar_t kSecureBootValue[] = L"UEFISecureBootEnabled";
constexpr wchar_t kTpmNamespace[] = L"ROOT\\CIMV2\\Security\\MicrosoftTpm";

constexpr FieldLiteral kSecurityDriverFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"PnP-Geräte-ID", L"DeviceID"},
    {L"Treiberanbieter", L"DriverProviderName"},
    {L"Treiberversion", L"DriverVersion"},
    {L"Treiberdatum", L"DriverDate"},
    {L"INF-Datei", L"InfName"},
    {L"Signiert", L"IsSigned"},
    {L"Signaturgeber", L"Signer"},
};

constexpr QueryLiteral kSecurityDriverQuery{L"SELECT * FROM Win32_PnPSignedDriver WHERE DeviceClass='SECURITYDEVICES'",
                                            kSecurityCategoryName, L"DeviceName", kSecurityDriverFields};

// The title property is also the first pair, so the property list is the table alone.
constexpr FieldLiteral kTpmFields[] = {
    {L"Hersteller-ID (Text)", L"ManufacturerIdTxt"},
    {L"Hersteller-ID (numerisch)", L"ManufacturerId"},
    {L"Herstellerversion", L"ManufacturerVersion"},
    {L"Herstellerversion TPM 2.0", L"ManufacturerVersionFull20"},
    {L"Hersteller-Versionsdetails", L"ManufacturerVersionInfo"},
    {L"Physical-Presence-Interface", L"PhysicalPresenceVersionInfo"},
    {L"TPM-Spezifikation", L"SpecVersion"},
    {L"Aktiviert", L"IsActivated_InitialValue"},
    {L"Eingeschaltet", L"IsEnabled_InitialValue"},
    {L"Besitz übernommen", L"IsOwned_InitialValue"},
};

using GetFirmwareTypeFunction = BOOL(WINAPI*)(PFIRMWARE_TYPE);

void RunTpmQuery(HardwareReport& report, WmiSession& tpm) {
    FieldTable table;
    std::vector<std::wstring> properties;
    for (const FieldLiteral& field : kTpmFields) {
        table.push_back({field.label, field.wmiProperty});
        properties.emplace_back(field.wmiProperty);
    }
    RunQueryIntoCategory(report, tpm, kSecurityCategoryName, L"SELECT * FROM Win32_Tpm", properties,
                         L"ManufacturerIdTxt", table);
}

} // namespace

std::wstring FirmwareModeText(bool read, uint32_t firmwareType) {
    if (!read) {
        return kNotReported;
    }
    for (const FirmwareModeName& mode : kFirmwareModes) {
        if (mode.type == firmwareType) {
            return mode.name;
        }
    }
    return L"Unbekannt";
}

std::wstring SecureBootText(bool read, uint32_t secureBootEnabled) {
    if (!read) {
        return kNotReported;
    }
    return secureBootEnabled != 0 ? L"Aktiviert" : L"Deaktiviert";
}

std::wstring ProcessBitnessText(bool wow64) {
    return wow64 ? L"32 Bit auf 64-Bit-Windows" : L"Nativer 64-Bit-Prozess";
}

ReportRecord BuildFirmwareStatusRecord(const FirmwareStatusReadings& readings) {
    ReportRecord record{kFirmwareStatusTitle, {}};
    record.fields.emplace_back(L"Firmwaremodus", FirmwareModeText(readings.firmwareTypeRead, readings.firmwareType));
    record.fields.emplace_back(L"Secure Boot", SecureBootText(readings.secureBootRead, readings.secureBootEnabled));
    record.fields.emplace_back(L"Diagnoseprozess", ProcessBitnessText(readings.wow64));
    return record;
}

bool ReadFirmwareType(uint32_t& firmwareType) {
    firmwareType = 0;
    // Looked up at run time: older systems and some compatibility layers lack the export, and a
    // static import would stop the program from loading there at all.
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr) {
        return false;
    }
    const FARPROC procedure = GetProcAddress(kernel, "GetFirmwareType");
    if (procedure == nullptr) {
        return false;
    }
    const auto getFirmwareType = reinterpret_cast<GetFirmwareTypeFunction>(reinterpret_cast<void*>(procedure));
    FIRMWARE_TYPE type = FirmwareTypeUnknown;
    if (!getFirmwareType(&type)) {
        return false;
    }
    firmwareType = static_cast<uint32_t>(type);
    return true;
}

bool ReadRegistryDword(HKEY root, const wchar_t* subkey, const wchar_t* valueName, uint32_t& value) {
    DWORD data = 0;
    DWORD size = sizeof(data);
    const LSTATUS status = RegGetValueW(root, subkey, valueName, RRF_RT_REG_DWORD, nullptr, &data, &size);
    value = status == ERROR_SUCCESS ? data : 0;
    return status == ERROR_SUCCESS;
}

void CollectFirmwareStatus(HardwareReport& report) {
    FirmwareStatusReadings readings;
    readings.firmwareTypeRead = ReadFirmwareType(readings.firmwareType);
    readings.secureBootRead =
        ReadRegistryDword(HKEY_LOCAL_MACHINE, kSecureBootKey, kSecureBootValue, readings.secureBootEnabled);
    BOOL wow64 = FALSE;
    // A failed call leaves the flag false, which is the native reading.
    IsWow64Process(GetCurrentProcess(), &wow64);
    readings.wow64 = wow64 != FALSE;
    FindOrAddCategory(report.categories, kSecurityCategoryName).records.push_back(BuildFirmwareStatusRecord(readings));
}

void CollectSecurityAndFirmware(ScanContext& scan) {
    CollectFirmwareStatus(scan.report);
    RunQueryLiteral(scan.report, scan.wmi, kSecurityDriverQuery);
    // Absent or refused: the machine simply shows no TPM. The session lives as long as the scan.
    scan.tpm = scan.wmi.OpenNamespace(kTpmNamespace);
    if (scan.tpm->IsConnected()) {
        RunTpmQuery(scan.report, *scan.tpm);
    }
}
