#include "inventory/StorageCategory.h"
#include "inventory/ReportLookup.h"
#include "inventory/StorageCodes.h"

#include "wmi/ComApartment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace {

bool HasField(const ReportRecord& record, const std::wstring& label) {
    for (const ReportField& field : record.fields) {
        if (field.first == label) {
            return true;
        }
    }
    return false;
}

// A Win32_DiskDrive record as the generic query step leaves it, reduced to the fields that matter here.
ReportRecord DiskDriveRecord(const std::wstring& model, const std::wstring& serial, const std::wstring& index) {
    return ReportRecord{model,
                        {{L"Hersteller", L"(Standardlaufwerke)"},
                         {L"Seriennummer", serial},
                         {L"Medientyp", L"Fixed hard disk media"},
                         {L"Kapazität", L"476.94 GiB (512110190592 Byte)"},
                         {L"Windows-Geräteindex", index}}};
}

WmiRow ReliabilityRow(const std::wstring& deviceId, const std::wstring& wear) {
    return {{L"DeviceId", deviceId}, {L"Wear", wear}};
}

const std::vector<std::wstring> kWearLabels = {L"SSD-Restlebensdauer", L"SSD-Verschleiß", L"Zustandsbewertung"};

} // namespace

TEST(StorageCodeTables, TranslateListedBusAndMediaCodes) {
    EXPECT_EQ(FormatBusType(L"17"), L"NVMe");
    EXPECT_EQ(FormatBusType(L"11"), L"SATA");
    EXPECT_EQ(FormatBusType(L"7"), L"USB");
    EXPECT_EQ(FormatBusType(L"18"), L"Microsoft Reserved");
    EXPECT_EQ(FormatMediaType(L"4"), L"SSD");
    EXPECT_EQ(FormatMediaType(L"3"), L"HDD");
    EXPECT_EQ(FormatMediaType(L"0"), L"Unbekannt");
    EXPECT_EQ(FormatHealthStatus(L"0"), L"Gut");
    EXPECT_EQ(FormatHealthStatus(L"1"), L"Warnung");
    EXPECT_EQ(FormatHealthStatus(L"2"), L"Kritisch");
}

TEST(StorageCodeTables, NameUnlistedCodesAsWindowsCodesButKeepUnlistedHealthAsIs) {
    EXPECT_EQ(FormatBusType(L"1"), L"Windows-Code 1");
    EXPECT_EQ(FormatMediaType(L"6"), L"Windows-Code 6");
    EXPECT_EQ(FormatHealthStatus(L"3"), L"3");
}

TEST(StorageCodeTables, CompareCodesAsTextNotAsNumbers) {
    // A numeric lookup would read these as 11, 4 and 1.
    EXPECT_EQ(FormatBusType(L"011"), L"Windows-Code 011");
    EXPECT_EQ(FormatMediaType(L" 4"), L"Windows-Code  4");
    EXPECT_EQ(FormatHealthStatus(L"1.0"), L"1.0");
}

TEST(StorageCodeTables, LeaveMissingValuesWithoutPrefix) {
    for (auto format : {FormatBusType, FormatMediaType, FormatHealthStatus}) {
        EXPECT_EQ(format(L""), L"Nicht gemeldet");
        EXPECT_EQ(format(L"Nicht gemeldet"), L"Nicht gemeldet");
    }
}

TEST(RateSsdWear, RatesTheStepBoundaries) {
    struct Case {
        const wchar_t* wear;
        const wchar_t* remaining;
        const wchar_t* used;
        const wchar_t* condition;
    };
    const Case cases[] = {
        {L"0", L"100 %", L"0 %", L"Gut"},         {L"19", L"81 %", L"19 %", L"Gut"},
        {L"20", L"80 %", L"20 %", L"Beobachten"}, {L"49", L"51 %", L"49 %", L"Beobachten"},
        {L"50", L"50 %", L"50 %", L"Kritisch"},   {L"100", L"0 %", L"100 %", L"Kritisch"},
        {L"007", L"93 %", L"7 %", L"Gut"},
    };
    for (const Case& c : cases) {
        const std::optional<SsdWearRating> rating = RateSsdWear(c.wear);
        ASSERT_TRUE(rating.has_value()) << testing::PrintToString(std::wstring(c.wear));
        EXPECT_EQ(rating->remainingLife, c.remaining);
        EXPECT_EQ(rating->wear, c.used);
        EXPECT_EQ(rating->condition, c.condition);
    }
}

TEST(RateSsdWear, GivesNothingBeyondOneHundredOrForUnreadableWear) {
    // Reading any of these as 0 would call a drive of unknown state as good as new.
    for (const wchar_t* wear : {L"101", L"255", L"", L"abc", L"-1", L"12.5", L"5 %", L" 5",
                                L"99999999999999999999999", L"0000000000000000000000101"}) {
        EXPECT_FALSE(RateSsdWear(wear).has_value()) << testing::PrintToString(std::wstring(wear));
    }
}

TEST(IsPlausibleSsdTemperature, AcceptsOnlyStrictlyBetweenZeroAndOneHundredFifty) {
    for (const wchar_t* text : {L"1", L"45", L"149"}) {
        EXPECT_TRUE(IsPlausibleSsdTemperature(text)) << testing::PrintToString(std::wstring(text));
    }
    for (const wchar_t* text : {L"0", L"150", L"65535", L"", L"warm", L"-5"}) {
        EXPECT_FALSE(IsPlausibleSsdTemperature(text)) << testing::PrintToString(std::wstring(text));
    }
}

TEST(BuildPhysicalDiskRecord, ConvertsEveryReportedValueInTableOrder) {
    const WmiRow row = {
        {L"DeviceId", L"0"},           {L"FriendlyName", L"Fabrikam NV2 1TB"}, {L"Manufacturer", L"Fabrikam"},
        {L"Model", L"NV2 1TB"},        {L"SerialNumber", L"  E823_8FA6  "},    {L"FirmwareVersion", L"3B2QGXA7"},
        {L"UniqueId", L"eui.0025385"}, {L"MediaType", L"4"},                   {L"BusType", L"17"},
        {L"Size", L"1073741824"},      {L"AllocatedSize", L"0"},               {L"LogicalSectorSize", L"512"},
        {L"PhysicalSectorSize", L"4096"}, {L"SpindleSpeed", L"7200"},          {L"HealthStatus", L"1"},
        {L"OperationalStatus", L"2, 53264"}, {L"CanPool", L"0"},               {L"IsReadOnly", L"-1"},
    };
    const ReportRecord record = BuildPhysicalDiskRecord(row);
    EXPECT_EQ(record.title, L"Fabrikam NV2 1TB");
    const std::vector<ReportField> expected = {
        {L"Windows-Geräteindex", L"0"},
        {L"Hersteller", L"Fabrikam"},
        {L"Modell", L"NV2 1TB"},
        {L"Seriennummer", L"E823_8FA6"},
        {L"Firmware", L"3B2QGXA7"},
        {L"Eindeutige ID", L"eui.0025385"},
        {L"Medientyp", L"SSD"},
        {L"Bus", L"NVMe"},
        {L"Kapazität", L"1.00 GiB (1073741824 Byte)"},
        {L"Belegt/zugewiesen", L"0"},
        {L"Übertragungsgeschwindigkeit",
         L"Vom geräteübergreifenden Windows-Storage-Treiberweg nicht zuverlässig gemeldet; kein belastender Benchmark"},
        {L"Logische Sektorgröße", L"512 Byte"},
        {L"Physische Sektorgröße", L"4096 Byte"},
        {L"Spindeldrehzahl", L"7200 U/min"},
        {L"Gesundheitszustand", L"Warnung"},
        {L"Betriebsstatus (Codes)", L"2, 53264"},
        {L"Pooling möglich", L"Nein"},
        {L"Schreibgeschützt", L"Ja"},
    };
    EXPECT_EQ(record.fields, expected);
}

TEST(BuildPhysicalDiskRecord, ShowsMissingValuesWithoutUnitsOrCodeTexts) {
    const ReportRecord record = BuildPhysicalDiskRecord(WmiRow{{L"SerialNumber", L"    "}, {L"SpindleSpeed", L""}});
    EXPECT_EQ(record.title, L"Nicht gemeldet");
    EXPECT_EQ(BuildPhysicalDiskRecord(WmiRow{{L"FriendlyName", L"   "}}).title, L"Nicht gemeldet");
    ASSERT_EQ(record.fields.size(), 18u);
    for (const ReportField& field : record.fields) {
        if (field.first == L"Übertragungsgeschwindigkeit") {
            EXPECT_EQ(field.second.rfind(L"Vom geräteübergreifenden", 0), 0u);
        } else {
            EXPECT_EQ(field.second, L"Nicht gemeldet") << testing::PrintToString(field.first);
        }
    }
}

TEST(AddReliabilityFields, WritesEveryCounterWithItsUnitInOrder) {
    const WmiRow row = {
        {L"DeviceId", L"0"},           {L"Temperature", L"41"},          {L"TemperatureMax", L"84"},
        {L"Wear", L"3"},               {L"PowerOnHours", L"1234"},       {L"ReadErrorsTotal", L"0"},
        {L"ReadErrorsCorrected", L"7"}, {L"ReadErrorsUncorrected", L"0"}, {L"WriteErrorsTotal", L"2"},
        {L"WriteErrorsCorrected", L"2"}, {L"WriteErrorsUncorrected", L"0"}, {L"ReadLatencyMax", L"37"},
        {L"WriteLatencyMax", L"120"},  {L"StartStopCycleCount", L"880"}, {L"LoadUnloadCycleCount", L"12"},
        {L"ManufactureDate", L"2023-05"},
    };
    ReportRecord record{L"SSD", {}};
    AddReliabilityFields(record, row);
    const std::vector<ReportField> expected = {
        {L"SSD-Restlebensdauer", L"97 %"},
        {L"SSD-Verschleiß", L"3 %"},
        {L"Zustandsbewertung", L"Gut"},
        {L"SSD-Temperatur", L"41 °C"},
        {L"Maximal zulässige SSD-Temperatur", L"84 °C"},
        {L"Betriebsstunden", L"1234 h"},
        {L"Lesefehler gesamt", L"0"},
        {L"Lesefehler unkorrigiert", L"0"},
        {L"Schreibfehler gesamt", L"2"},
        {L"Schreibfehler unkorrigiert", L"0"},
        {L"Maximale Leselatenz", L"37 ms"},
        {L"Maximale Schreiblatenz", L"120 ms"},
        {L"Start-/Stoppzyklen", L"880"},
        {L"Lade-/Entladezyklen", L"12"},
        {L"Herstellungsdatum", L"2023-05"},
    };
    EXPECT_EQ(record.fields, expected);
}

TEST(AddReliabilityFields, AddsNothingForUnreportedOrImplausibleCounters) {
    ReportRecord record{L"HDD", {{L"Status", L"OK"}}};
    AddReliabilityFields(record, WmiRow{{L"DeviceId", L"1"},
                                        {L"Wear", L"101"},
                                        {L"Temperature", L"0"},
                                        {L"TemperatureMax", L"150"},
                                        {L"PowerOnHours", L""},
                                        {L"ReadLatencyMax", L""}});
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"Status", L"OK"}}));
}

TEST(AddReliabilityFields, KeepsTheReportedTemperatureTextAtTheEdgesOfTheRange) {
    ReportRecord record{L"SSD", {}};
    AddReliabilityFields(record, WmiRow{{L"Temperature", L"1"}, {L"TemperatureMax", L"149"}});
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"SSD-Temperatur", L"1 °C"},
                                                       {L"Maximal zulässige SSD-Temperatur", L"149 °C"}}));
}

TEST(AddReliabilityFields, MergesIntoLabelsTheRecordAlreadyHas) {
    ReportRecord record{L"SSD", {{L"Betriebsstunden", L"Nicht gemeldet"}, {L"Herstellungsdatum", L"2022"}}};
    AddReliabilityFields(record, WmiRow{{L"PowerOnHours", L"10"}, {L"ManufactureDate", L"2023"}});
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"Betriebsstunden", L"10 h"},
                                                       {L"Herstellungsdatum", L"2022 · 2023"}}));
}

TEST(AddReliabilityCounters, LandsInTheFirstRecordWithExactlyThatIndex) {
    ReportCategory drives{L"Laufwerke",
                          {DiskDriveRecord(L"A", L"SER-A", L"10"), DiskDriveRecord(L"B", L"SER-B", L"1"),
                           DiskDriveRecord(L"C", L"SER-C", L"1")}};
    AddReliabilityCounters(drives, {ReliabilityRow(L"1", L"20")});
    ASSERT_EQ(drives.records.size(), 3u);
    EXPECT_FALSE(HasField(drives.records[0], L"SSD-Verschleiß")) << "\"10\" only starts with \"1\"";
    EXPECT_EQ(GetFieldValue(drives.records[1], L"Zustandsbewertung"), L"Beobachten");
    EXPECT_FALSE(HasField(drives.records[2], L"SSD-Verschleiß"));
}

TEST(AddReliabilityCounters, AddsADriveRecordForAnUnknownIndex) {
    ReportCategory drives{L"Laufwerke", {DiskDriveRecord(L"A", L"SER-A", L"0")}};
    AddReliabilityCounters(drives, {ReliabilityRow(L"3", L"50")});
    ASSERT_EQ(drives.records.size(), 2u);
    const ReportRecord& added = drives.records[1];
    EXPECT_EQ(added.title, L"Datenträger 3");
    EXPECT_EQ(LabelsOf(added), (std::vector<std::wstring>{L"Windows-Geräteindex", L"SSD-Restlebensdauer",
                                                          L"SSD-Verschleiß", L"Zustandsbewertung"}));
    EXPECT_EQ(GetFieldValue(added, L"Windows-Geräteindex"), L"3");
    EXPECT_EQ(GetFieldValue(added, L"Zustandsbewertung"), L"Kritisch");
    EXPECT_FALSE(HasField(drives.records[0], L"SSD-Verschleiß"));
}

TEST(AddReliabilityCounters, NeverMatchesAMissingDeviceIdAndMarksItsRecordUnreported) {
    ReportRecord unindexed{L"Ohne Index", {{L"Windows-Geräteindex", L""}}};
    ReportCategory drives{L"Laufwerke", {unindexed}};
    AddReliabilityCounters(drives, {WmiRow{{L"Wear", L"5"}}});
    ASSERT_EQ(drives.records.size(), 2u);
    EXPECT_EQ(drives.records[0].fields.size(), 1u);
    EXPECT_EQ(drives.records[1].title, L"Datenträger");
    EXPECT_EQ(GetFieldValue(drives.records[1], L"Windows-Geräteindex"), L"Nicht gemeldet");
    EXPECT_EQ(GetFieldValue(drives.records[1], L"SSD-Verschleiß"), L"5 %");
}

TEST(AddStorageNamespaceData, MergesTheThreeSourcesOfOneDrive) {
    ReportCategory drives{L"Laufwerke", {DiskDriveRecord(L"NV2 1TB", L"E823_8FA6_BF53_0001.", L"0"),
                                         DiskDriveRecord(L"USB Stick", L"STICK-0042", L"1")}};
    const std::vector<WmiRow> disks = {
        {{L"DeviceId", L"0"}, {L"FriendlyName", L"Fabrikam NV2 1TB"}, {L"SerialNumber", L" E823_8FA6_BF53_0001. "},
         {L"MediaType", L"4"}, {L"BusType", L"17"}},
    };
    const std::vector<WmiRow> reliability = {ReliabilityRow(L"0", L"12")};
    AddStorageNamespaceData(drives, disks, reliability);

    ASSERT_EQ(drives.records.size(), 2u);
    const ReportRecord& nvme = drives.records[0];
    EXPECT_EQ(nvme.title, L"Fabrikam NV2 1TB");
    EXPECT_EQ(GetFieldValue(nvme, L"Hersteller"), L"(Standardlaufwerke)");
    EXPECT_EQ(GetFieldValue(nvme, L"Bus"), L"NVMe");
    EXPECT_EQ(GetFieldValue(nvme, L"Medientyp"), L"Fixed hard disk media · SSD");
    EXPECT_EQ(GetFieldValue(nvme, L"SSD-Restlebensdauer"), L"88 %");
    EXPECT_EQ(GetFieldValue(nvme, L"Zustandsbewertung"), L"Gut");
    EXPECT_EQ(GetFieldValue(nvme, L"Windows-Geräteindex"), L"0");
    EXPECT_EQ(drives.records[1].title, L"USB Stick");
    EXPECT_FALSE(HasField(drives.records[1], L"Bus"));
}

TEST(ConvertDiskDriveValues, TrimsValuesAndFormatsOnlyReportedCapacity) {
    ReportRecord drive{L" Model ", {{L"Seriennummer", L"  WD-123  "},
                                    {L"Kapazität", L" 2147483648 "},
                                    {L"Bytes pro Sektor", L"512"},
                                    {L"Firmware", L"        "}}};
    ConvertDiskDriveValues(drive);
    EXPECT_EQ(drive.title, L" Model ");
    EXPECT_EQ(drive.fields, (std::vector<ReportField>{{L"Seriennummer", L"WD-123"},
                                                      {L"Kapazität", L"2.00 GiB (2147483648 Byte)"},
                                                      {L"Bytes pro Sektor", L"512"},
                                                      {L"Firmware", L"Nicht gemeldet"}}));
    ReportRecord unreported{L"Leer", {{L"Kapazität", L"Nicht gemeldet"}}};
    ConvertDiskDriveValues(unreported);
    EXPECT_EQ(GetFieldValue(unreported, L"Kapazität"), L"Nicht gemeldet");
}

// Wine lists one disk twice (Index 0 and 1, serial WINEHDISK) and has no storage-namespace rows.
class StorageStepTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(com.Result()));
        ASSERT_TRUE(wmi.IsConnected());
    }

    const ReportCategory* Drives() const {
        for (const ReportCategory& category : report.categories) {
            if (category.name == L"Laufwerke") {
                return &category;
            }
        }
        return nullptr;
    }

    ComApartment com;
    WmiSession wmi{L"ROOT\\CIMV2"};
    HardwareReport report;
    ScanContext scan{report, wmi};
};

TEST_F(StorageStepTest, ReadsTheDiskDrivesAndMergesThemOnceTheStorageNamespaceIsOpen) {
    CollectStorageDevices(scan);
    ASSERT_NE(scan.storage, nullptr);
    EXPECT_TRUE(scan.storage->IsConnected());
    EXPECT_TRUE(report.hints.empty()) << testing::PrintToString(report.hints);
    const ReportCategory* drives = Drives();
    ASSERT_NE(drives, nullptr);
    ASSERT_FALSE(drives->records.empty());
    const std::vector<std::wstring> diskDriveLabels = {
        L"Hersteller", L"Bezeichnung", L"Seriennummer", L"Firmware", L"Schnittstelle", L"Medientyp",
        L"Kapazität", L"Bytes pro Sektor", L"Partitionen", L"PnP-Geräte-ID", L"Windows-Geräteindex",
        L"SCSI-Bus", L"SCSI-Port", L"SCSI-Ziel", L"Fähigkeitscodes", L"Status",
    };
    for (const ReportRecord& drive : drives->records) {
        const std::vector<std::wstring> labels = LabelsOf(drive);
        ASSERT_GE(labels.size(), diskDriveLabels.size());
        EXPECT_EQ(std::vector<std::wstring>(labels.begin(), labels.begin() + diskDriveLabels.size()), diskDriveLabels);
        const std::wstring capacity = GetFieldValue(drive, L"Kapazität");
        EXPECT_TRUE(std::regex_match(capacity, std::wregex(LR"(\d+\.\d\d [KMGTP]iB \(\d+ Byte\)|\d+ Byte \(\d+ Byte\)|0|Nicht gemeldet)")))
            << testing::PrintToString(capacity);
    }
    // Wine lists its one disk twice under the same serial number.
    const auto wineDisks = std::count_if(drives->records.begin(), drives->records.end(), [](const ReportRecord& drive) {
        return GetFieldValue(drive, L"Seriennummer") == L"WINEHDISK";
    });
    EXPECT_LE(wineDisks, 1);
}

TEST_F(StorageStepTest, LeavesRecordsTheCategoryAlreadyHeldUnconverted) {
    // Formatting "76.60 GiB (…)" again would read it as 76 bytes.
    const ReportRecord earlier{L"Früher erfasst", {{L"Kapazität", L"76.60 GiB (82252800000 Byte)"},
                                                   {L"Seriennummer", L"EARLIER-1"}}};
    FindOrAddCategory(report.categories, L"Laufwerke").records.push_back(earlier);
    CollectStorageDevices(scan);
    const ReportCategory* drives = Drives();
    ASSERT_NE(drives, nullptr);
    ASSERT_FALSE(drives->records.empty());
    EXPECT_EQ(drives->records[0].fields, earlier.fields);
}

TEST_F(StorageStepTest, AMissingStorageNamespaceAddsOneHintAndLeavesTheDrivesUnmerged) {
    const std::vector<WmiRow> rows = wmi.Query(L"SELECT * FROM Win32_DiskDrive", {L"Model"});
    CollectStorageDevicesFrom(scan, L"ROOT\\Velquist\\NoSuchNamespace");
    ASSERT_NE(scan.storage, nullptr);
    EXPECT_FALSE(scan.storage->IsConnected());
    ASSERT_EQ(report.hints.size(), 1u);
    EXPECT_EQ(report.hints[0], scan.storage->LastError());
    EXPECT_FALSE(report.hints[0].empty());
    const ReportCategory* drives = Drives();
    ASSERT_NE(drives, nullptr);
    EXPECT_EQ(drives->records.size(), rows.size());
}
