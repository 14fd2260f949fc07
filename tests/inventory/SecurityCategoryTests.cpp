#include "inventory/SecurityCategory.h"

#include "inventory/RecordedWmi.h"
#include "wmi/WmiRecording.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// A scratch key under HKEY_CURRENT_USER that each test fills and that is removed again.
class DwordScratchKey {
public:
    DwordScratchKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, kPath);
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    ~DwordScratchKey() {
        if (key) {
            RegCloseKey(key);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, kPath);
    }
    DwordScratchKey(const DwordScratchKey&) = delete;
    DwordScratchKey& operator=(const DwordScratchKey&) = delete;

    void SetBytes(DWORD type, const std::vector<BYTE>& data) {
        ASSERT_EQ(RegSetValueExW(key, kValue, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
    }
    void SetDword(DWORD value) {
        SetBytes(REG_DWORD, {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                             static_cast<BYTE>(value >> 24)});
    }
    bool Read(uint32_t& value) const { return ReadRegistryDword(HKEY_CURRENT_USER, kPath, kValue, value); }

    static constexpr wchar_t kPath[] = L"Software\\VelquistTests\\ReadRegistryDword";
    static constexpr wchar_t kValue[] = L"UEFISecureBootEnabled";

private:
    HKEY key = nullptr;
};

std::vector<std::wstring> Labels(const ReportRecord& record) {
    std::vector<std::wstring> labels;
    for (const ReportField& field : record.fields) {
        labels.push_back(field.first);
    }
    return labels;
}

} // namespace

TEST(FirmwareModeText, MapsTheTwoKnownTypesAndEveryOtherToUnknown) {
    EXPECT_EQ(FirmwareModeText(true, 2), L"UEFI");
    EXPECT_EQ(FirmwareModeText(true, 1), L"Legacy-BIOS");
    EXPECT_EQ(FirmwareModeText(true, 0), L"Unbekannt");
    EXPECT_EQ(FirmwareModeText(true, 3), L"Unbekannt");
    EXPECT_EQ(FirmwareModeText(true, 0xFFFFFFFFu), L"Unbekannt");
}

TEST(FirmwareModeText, FailedCallIsNotReportedWhateverTheType) {
    EXPECT_EQ(FirmwareModeText(false, 2), L"Nicht gemeldet");
    EXPECT_EQ(FirmwareModeText(false, 0), L"Nicht gemeldet");
}

TEST(SecureBootText, AnyNonZeroValueIsEnabled) {
    EXPECT_EQ(SecureBootText(true, 0), L"Deaktiviert");
    EXPECT_EQ(SecureBootText(true, 1), L"Aktiviert");
    EXPECT_EQ(SecureBootText(true, 0x100), L"Aktiviert");
    EXPECT_EQ(SecureBootText(false, 1), L"Nicht gemeldet");
    EXPECT_EQ(SecureBootText(false, 0), L"Nicht gemeldet");
}

TEST(ProcessBitnessText, TellsWow64FromNative) {
    EXPECT_EQ(ProcessBitnessText(true), L"32 Bit auf 64-Bit-Windows");
    EXPECT_EQ(ProcessBitnessText(false), L"Nativer 64-Bit-Prozess");
}

TEST(BuildFirmwareStatusRecord, KeepsAllThreeFieldsInOrderEvenWhenNothingWasRead) {
    const ReportRecord record = BuildFirmwareStatusRecord({});
    EXPECT_EQ(record.title, L"Start- und Firmwarestatus");
    const std::vector<ReportField> expected = {
        {L"Firmwaremodus", L"Nicht gemeldet"},
        {L"Secure Boot", L"Nicht gemeldet"},
        {L"Diagnoseprozess", L"Nativer 64-Bit-Prozess"},
    };
    EXPECT_EQ(record.fields, expected);
}

TEST(BuildFirmwareStatusRecord, ShowsEveryReading) {
    FirmwareStatusReadings readings;
    readings.firmwareTypeRead = true;
    readings.firmwareType = 2;
    readings.secureBootRead = true;
    readings.secureBootEnabled = 0;
    readings.wow64 = true;
    const std::vector<ReportField> expected = {
        {L"Firmwaremodus", L"UEFI"},
        {L"Secure Boot", L"Deaktiviert"},
        {L"Diagnoseprozess", L"32 Bit auf 64-Bit-Windows"},
    };
    EXPECT_EQ(BuildFirmwareStatusRecord(readings).fields, expected);
}

TEST(ReadRegistryDword, ReadsZeroAndOneAsStored) {
    DwordScratchKey key;
    uint32_t value = 77;
    key.SetDword(0);
    ASSERT_TRUE(key.Read(value));
    EXPECT_EQ(value, 0u);
    key.SetDword(1);
    ASSERT_TRUE(key.Read(value));
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(SecureBootText(true, value), L"Aktiviert");
}

TEST(ReadRegistryDword, RefusesEveryOtherValueType) {
    DwordScratchKey key;
    uint32_t value = 0;
    // Four bytes of REG_BINARY would pass a looser "any 32-bit value" restriction.
    key.SetBytes(REG_BINARY, {1, 0, 0, 0});
    EXPECT_FALSE(key.Read(value));
    key.SetBytes(REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(key.Read(value));
    key.SetBytes(REG_SZ, {'1', 0, 0, 0});
    EXPECT_FALSE(key.Read(value));
    EXPECT_EQ(value, 0u);
}

TEST(ReadRegistryDword, MissingValueOrKeyIsAFailure) {
    DwordScratchKey key;
    uint32_t value = 0;
    EXPECT_FALSE(key.Read(value));
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, L"Software\\VelquistTests\\NoSuchKey", L"X", value));
}

TEST(ReadFirmwareType, FailsCleanlyWhereTheSystemLacksTheCall) {
    uint32_t type = 99;
    const bool read = ReadFirmwareType(type);
    const bool exported = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFirmwareType") != nullptr;
    if (!exported) {
        EXPECT_FALSE(read);
        EXPECT_EQ(type, 0u);
    } else if (read) {
        EXPECT_LE(type, 3u);
    }
}

TEST(CollectFirmwareStatus, AppendsTheRecordAfterWhatTheCategoryHolds) {
    HardwareReport report;
    report.categories.push_back({L"System", {}});
    report.categories.push_back({L"Sicherheit & Firmware", {ReportRecord{L"Vorher", {}}}});
    CollectFirmwareStatus(report);
    ASSERT_EQ(report.categories.size(), 2u);
    const ReportCategory& security = report.categories[1];
    ASSERT_EQ(security.records.size(), 2u);
    EXPECT_EQ(security.records[0].title, L"Vorher");
    EXPECT_EQ(security.records[1].title, L"Start- und Firmwarestatus");
    EXPECT_TRUE(report.hints.empty());
}

TEST(CollectFirmwareStatus, ReadsThePlatformIntoThreeFields) {
    HardwareReport report;
    CollectFirmwareStatus(report);
    ASSERT_EQ(report.categories.size(), 1u);
    EXPECT_EQ(report.categories[0].name, L"Sicherheit & Firmware");
    ASSERT_EQ(report.categories[0].records.size(), 1u);
    const ReportRecord& record = report.categories[0].records[0];
    EXPECT_EQ(Labels(record), (std::vector<std::wstring>{L"Firmwaremodus", L"Secure Boot", L"Diagnoseprozess"}));
    uint32_t type = 0;
    const bool typeRead = ReadFirmwareType(type);
    EXPECT_EQ(GetFieldValue(record, L"Firmwaremodus"), FirmwareModeText(typeRead, type));
    // The test program is a 64-bit build.
    EXPECT_EQ(GetFieldValue(record, L"Diagnoseprozess"), L"Nativer 64-Bit-Prozess");
}

// A Windows 10 machine with a TPM 2.0, as Windows delivers its driver row (Win32_PnPSignedDriver)
// and its Win32_Tpm row: the documented properties plus ManufacturerIdTxt and
// ManufacturerVersionFull20, which Windows 10 adds. ManufacturerId is "IFX" as a big-endian uint32.
TEST(CollectSecurityAndFirmware, ReadsTheTpmFromItsOwnNamespaceAfterTheDrivers) {
    const std::wstring driverQuery = L"SELECT * FROM Win32_PnPSignedDriver WHERE DeviceClass='SECURITYDEVICES'";
    WmiRecording recording;
    recording.answers = {
        {L"ROOT\\CIMV2", driverQuery, {{
            {L"DeviceName", CimString(L"Trusted Platform Module 2.0")},
            {L"DeviceClass", CimString(L"SECURITYDEVICES")},
            {L"Manufacturer", CimString(L"(Standard system devices)")},
            {L"DeviceID", CimString(L"ACPI\\MSFT0101\\1")},
            {L"DriverProviderName", CimString(L"Microsoft")},
            {L"DriverVersion", CimString(L"10.0.19041.1")},
            {L"DriverDate", CimDatetime(L"20060621000000.******+***")},
            {L"InfName", CimString(L"tpm.inf")},
            {L"IsSigned", CimBoolean(true)},
            {L"Signer", CimString(L"Microsoft Windows")},
        }}},
        {L"ROOT\\CIMV2\\Security\\MicrosoftTpm", L"SELECT * FROM Win32_Tpm", {{
            {L"IsActivated_InitialValue", CimBoolean(true)},
            {L"IsEnabled_InitialValue", CimBoolean(true)},
            {L"IsOwned_InitialValue", CimBoolean(false)},
            {L"ManufacturerId", CimUint32(0x49465800)},
            {L"ManufacturerIdTxt", CimString(L"IFX")},
            {L"ManufacturerVersion", CimString(L"7.85.4555.0")},
            {L"ManufacturerVersionFull20", CimString(L"7.85.4555.0")},
            {L"ManufacturerVersionInfo", CimString(L"SLB9670")},
            {L"PhysicalPresenceVersionInfo", CimString(L"1.3")},
            {L"SpecVersion", CimString(L"2.0, 0, 1.38")},
        }}},
    };
    HardwareReport report;
    WmiSession wmi(L"ROOT\\CIMV2", recording);
    ScanContext scan{report, wmi};
    CollectSecurityAndFirmware(scan);

    EXPECT_EQ(recording.opened, (std::vector<std::wstring>{L"ROOT\\CIMV2", L"ROOT\\CIMV2\\Security\\MicrosoftTpm"}));
    const std::vector<std::pair<std::wstring, std::wstring>> sent = {
        {L"ROOT\\CIMV2", driverQuery},
        {L"ROOT\\CIMV2\\Security\\MicrosoftTpm", L"SELECT * FROM Win32_Tpm"},
    };
    EXPECT_EQ(recording.sent, sent);
    EXPECT_TRUE(report.hints.empty()) << testing::PrintToString(report.hints);
    ASSERT_EQ(report.categories.size(), 1u);
    const std::vector<ReportRecord>& records = report.categories[0].records;
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].title, L"Start- und Firmwarestatus");
    EXPECT_EQ(records[1].title, L"Trusted Platform Module 2.0");
    EXPECT_EQ(GetFieldValue(records[1], L"Treiberdatum"), L"20060621000000.******+***");
    EXPECT_EQ(records[2].title, L"IFX");
    const std::vector<ReportField> tpm = {
        {L"Hersteller-ID (Text)", L"IFX"},
        {L"Hersteller-ID (numerisch)", L"1229346816"},
        {L"Herstellerversion", L"7.85.4555.0"},
        {L"Herstellerversion TPM 2.0", L"7.85.4555.0"},
        {L"Hersteller-Versionsdetails", L"SLB9670"},
        {L"Physical-Presence-Interface", L"1.3"},
        {L"TPM-Spezifikation", L"2.0, 0, 1.38"},
        {L"Aktiviert", L"-1"},
        {L"Eingeschaltet", L"-1"},
        {L"Besitz übernommen", L"0"},
    };
    EXPECT_EQ(records[2].fields, tpm);
}
