#include "inventory/SystemCategories.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ReportCategory OneRecord(const std::wstring& name, std::vector<ReportField> fields) {
    return ReportCategory{name, {ReportRecord{L"Gerät", std::move(fields)}}};
}

// A scratch key under HKEY_CURRENT_USER that the test fills and removes again.
class ScratchKey {
public:
    ScratchKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, kPath);
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    ~ScratchKey() {
        if (key) {
            RegCloseKey(key);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, kPath);
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // Stores exactly the given characters: the terminators are the caller's choice.
    void Set(const wchar_t* name, DWORD type, const std::wstring& data) {
        ASSERT_EQ(RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size() * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    void SetDword(const wchar_t* name, DWORD value) {
        ASSERT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)),
                  ERROR_SUCCESS);
    }
    std::wstring Read(const wchar_t* name) const { return RegReadString(HKEY_CURRENT_USER, kPath, name); }

    static constexpr wchar_t kPath[] = L"Software\\VelquistTests\\RegReadString";

private:
    HKEY key = nullptr;
};

} // namespace

TEST(ConvertSystemValues, FormatsMemoryAndHypervisorOnly) {
    ReportCategory system = OneRecord(L"System", {
        {L"Installierter Arbeitsspeicher", L"17179869184"},
        {L"CPU-Sockel", L"1"},
        {L"Hypervisor erkannt", L"TRUE"},
        {L"PC-Systemtyp (Code)", L"2"},
    });
    ConvertSystemValues(system);
    const std::vector<ReportField> expected = {
        {L"Installierter Arbeitsspeicher", L"16.00 GiB (17179869184 Byte)"},
        {L"CPU-Sockel", L"1"},
        {L"Hypervisor erkannt", L"Ja"},
        {L"PC-Systemtyp (Code)", L"2"},
    };
    EXPECT_EQ(system.records[0].fields, expected);
}

TEST(ConvertSystemValues, ReadsEveryBooleanSpellingAndKeepsMissingValues) {
    ReportCategory system{L"System", {}};
    for (const wchar_t* text : {L"-1", L"True", L"0", L"FALSE", L"Nicht gemeldet"}) {
        system.records.push_back({L"PC", {{L"Hypervisor erkannt", text}, {L"Installierter Arbeitsspeicher", L"Nicht gemeldet"}}});
    }
    ConvertSystemValues(system);
    const std::vector<std::wstring> expected = {L"Ja", L"Ja", L"Nein", L"Nein", L"Nicht gemeldet"};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(GetFieldValue(system.records[i], L"Hypervisor erkannt"), expected[i]);
        EXPECT_EQ(GetFieldValue(system.records[i], L"Installierter Arbeitsspeicher"), L"Nicht gemeldet");
    }
}

TEST(ConvertProcessorValues, NamesArchitectureAddsClockUnitsAndReadsVirtualisationFlags) {
    ReportCategory processor = OneRecord(L"Prozessor", {
        {L"Architektur", L"9"},
        {L"Aktueller Takt", L"3600"},
        {L"Maximaler Takt", L"Nicht gemeldet"},
        {L"Externer Takt", L"100"},
        {L"L2-Cache (KiB)", L"2048"},
        {L"Logische Prozessoren", L"16"},
        {L"Familie (Code)", L"198"},
        {L"Virtualisierung in Firmware", L"-1"},
        {L"VM-Monitor-Erweiterungen", L"False"},
        {L"Second Level Address Translation", L"TRUE"},
        {L"Status", L"True"},
    });
    ConvertProcessorValues(processor);
    const std::vector<ReportField> expected = {
        {L"Architektur", L"x64"},
        {L"Aktueller Takt", L"3600 MHz"},
        {L"Maximaler Takt", L"Nicht gemeldet"},
        {L"Externer Takt", L"100 MHz"},
        {L"L2-Cache (KiB)", L"2048"},
        {L"Logische Prozessoren", L"16"},
        {L"Familie (Code)", L"198"},
        {L"Virtualisierung in Firmware", L"Ja"},
        {L"VM-Monitor-Erweiterungen", L"Nein"},
        {L"Second Level Address Translation", L"Ja"},
        {L"Status", L"True"},
    };
    EXPECT_EQ(processor.records[0].fields, expected);
}

TEST(ConvertProcessorValues, KeepsUnknownArchitectureCodesAsDigits) {
    ReportCategory processor = OneRecord(L"Prozessor", {{L"Architektur", L"1"}});
    ConvertProcessorValues(processor);
    EXPECT_EQ(GetFieldValue(processor.records[0], L"Architektur"), L"1");
}

TEST(RegReadString, ReadsStringsTrimmed) {
    ScratchKey key;
    key.Set(L"Vendor", REG_SZ, std::wstring(L"  American Megatrends Inc. \t") + L'\0');
    EXPECT_EQ(key.Read(L"Vendor"), L"American Megatrends Inc.");
}

TEST(RegReadString, TakesTheFirstStringOfAMultiString) {
    ScratchKey key;
    constexpr wchar_t versions[] = L"ALASKA - 1072009\0BIOS Date: 03/15/23\0";
    key.Set(L"Versions", REG_MULTI_SZ, std::wstring(versions, std::size(versions)));
    EXPECT_EQ(key.Read(L"Versions"), L"ALASKA - 1072009");
}

TEST(RegReadString, ReadsAStringStoredWithoutItsTerminator) {
    ScratchKey key;
    key.Set(L"Bare", REG_SZ, L"B550 AORUS");
    EXPECT_EQ(key.Read(L"Bare"), L"B550 AORUS");
}

TEST(RegReadString, ReadsLongValuesWhole) {
    ScratchKey key;
    const std::wstring longText(5000, L'x');
    key.Set(L"Long", REG_SZ, longText + L'\0');
    EXPECT_EQ(key.Read(L"Long"), longText);
}

TEST(RegReadString, GivesEmptyTextForOtherTypesMissingValuesAndMissingKeys) {
    ScratchKey key;
    key.SetDword(L"Number", 42);
    key.Set(L"Binary", REG_BINARY, L"abcd");
    key.Set(L"Empty", REG_SZ, std::wstring(1, L'\0'));
    EXPECT_EQ(key.Read(L"Number"), L"");
    EXPECT_EQ(key.Read(L"Binary"), L"");
    EXPECT_EQ(key.Read(L"Empty"), L"");
    EXPECT_EQ(key.Read(L"Missing"), L"");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, L"Software\\VelquistTests\\NoSuchKey", L"Vendor"), L"");
}

TEST(CollectRegistryFirmwareInventory, AddsARecordOnlyWhenTheRegistryHoldsValues) {
    HardwareReport report;
    CollectRegistryFirmwareInventory(report);
    // Wine's BIOS key holds only empty strings; a real machine fills some of the labels.
    if (report.categories.empty()) {
        return;
    }
    ASSERT_EQ(report.categories.size(), 1u);
    EXPECT_EQ(report.categories[0].name, L"Mainboard & BIOS");
    ASSERT_EQ(report.categories[0].records.size(), 1u);
    const ReportRecord& record = report.categories[0].records[0];
    EXPECT_EQ(record.title, L"Windows-Firmwareinventar (Registry)");
    ASSERT_FALSE(record.fields.empty());
    for (const ReportField& field : record.fields) {
        EXPECT_FALSE(IsUnknownValue(field.second)) << field.first;
    }
}
