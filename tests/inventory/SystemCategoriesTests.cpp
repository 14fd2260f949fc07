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

// Gives values of HKLM\HARDWARE\DESCRIPTION\System\BIOS for one test and puts back what was
// there before. Only a process that may write the key can use it: under Wine the test's own
// prefix, on Windows an elevated one.
class FirmwareKeyValues {
public:
    struct Value {
        const wchar_t* name;
        DWORD type;  // REG_NONE: the value is absent
        std::vector<BYTE> data;
    };

    FirmwareKeyValues() {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
            key = nullptr;
        }
    }
    ~FirmwareKeyValues() {
        if (key == nullptr) {
            return;
        }
        for (auto saved = before.rbegin(); saved != before.rend(); ++saved) {
            Write(*saved);
        }
        RegCloseKey(key);
    }
    FirmwareKeyValues(const FirmwareKeyValues&) = delete;
    FirmwareKeyValues& operator=(const FirmwareKeyValues&) = delete;

    bool Writable() const { return key != nullptr; }

    void Set(const Value& value) {
        Value saved{value.name, REG_NONE, {}};
        DWORD size = 0;
        if (RegQueryValueExW(key, value.name, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
            saved.data.resize(size);
            RegQueryValueExW(key, value.name, nullptr, nullptr, saved.data.data(), &size);
        } else {
            saved.type = REG_NONE;
        }
        before.push_back(saved);
        ASSERT_TRUE(Write(value)) << testing::PrintToString(std::wstring(value.name));
    }

    static constexpr wchar_t kPath[] = L"HARDWARE\\DESCRIPTION\\System\\BIOS";

private:
    bool Write(const Value& value) {
        if (value.type == REG_NONE) {
            const LSTATUS status = RegDeleteValueW(key, value.name);
            return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
        }
        return RegSetValueExW(key, value.name, 0, value.type, value.data.data(),
                              static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
    }

    HKEY key = nullptr;
    std::vector<Value> before;
};

FirmwareKeyValues::Value Text(const wchar_t* name, const std::wstring& text) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {name, REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

FirmwareKeyValues::Value Number(const wchar_t* name, DWORD number) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&number);
    return {name, REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof(number))};
}

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

// The key as Windows 10 fills it from SMBIOS on a desktop board: strings as REG_SZ (placeholders
// and the US date included), the release numbers as REG_DWORD. Windows writes no
// EmbeddedControllerVersion; its controller release is ECFirmwareMajorRelease/MinorRelease.
TEST(CollectRegistryFirmwareInventory, ReadsTheFirmwareKeyAsWindowsFillsIt) {
    FirmwareKeyValues values;
    if (!values.Writable()) {
        GTEST_SKIP() << "the firmware key cannot be written by this process";
    }
    for (const FirmwareKeyValues::Value& value : {
             Text(L"BIOSVendor", L"American Megatrends International, LLC."),
             Text(L"BIOSVersion", L"F15"),
             Text(L"BIOSReleaseDate", L"01/18/2022"),
             Number(L"BiosMajorRelease", 5),
             Number(L"BiosMinorRelease", 17),
             Text(L"SystemManufacturer", L"Gigabyte Technology Co., Ltd."),
             Text(L"SystemProductName", L"B550 AORUS ELITE V2"),
             Text(L"SystemFamily", L"B550 MB"),
             Text(L"SystemVersion", L"Default string"),
             Text(L"SystemSKU", L"Default string"),
             Text(L"BaseBoardManufacturer", L"Gigabyte Technology Co., Ltd."),
             Text(L"BaseBoardProduct", L"B550 AORUS ELITE V2"),
             Text(L"BaseBoardVersion", L"x.x"),
             Number(L"ECFirmwareMajorRelease", 255),
             Number(L"ECFirmwareMinorRelease", 255),
             Number(L"EnclosureType", 3),
             FirmwareKeyValues::Value{L"EmbeddedControllerVersion", REG_NONE, {}},
         }) {
        ASSERT_NO_FATAL_FAILURE(values.Set(value));
    }
    HardwareReport report;
    report.categories.push_back({L"Mainboard & BIOS", {ReportRecord{L"B550 AORUS ELITE V2", {}}}});
    CollectRegistryFirmwareInventory(report);

    ASSERT_EQ(report.categories.size(), 1u);
    ASSERT_EQ(report.categories[0].records.size(), 2u);
    const ReportRecord& record = report.categories[0].records[1];
    EXPECT_EQ(record.title, L"Windows-Firmwareinventar (Registry)");
    const std::vector<ReportField> expected = {
        {L"BIOS-Hersteller", L"American Megatrends International, LLC."},
        {L"BIOS-Version", L"F15"},
        {L"BIOS-Datum", L"01/18/2022"},
        {L"Systemhersteller", L"Gigabyte Technology Co., Ltd."},
        {L"Systemprodukt", L"B550 AORUS ELITE V2"},
        {L"System-SKU", L"Default string"},
        {L"Mainboard-Hersteller", L"Gigabyte Technology Co., Ltd."},
        {L"Mainboard-Modell", L"B550 AORUS ELITE V2"},
        {L"Mainboard-Version", L"x.x"},
    };
    EXPECT_EQ(record.fields, expected);
}
