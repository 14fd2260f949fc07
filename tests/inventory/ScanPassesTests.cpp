#include "inventory/ScanPasses.h"
#include "inventory/MonitorCategory.h"
#include "inventory/ReportLookup.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

namespace {

ReportRecord Record(const std::wstring& title, std::vector<ReportField> fields) {
    return ReportRecord{title, std::move(fields)};
}

ReportCategory Category(const std::wstring& name, std::vector<ReportRecord> records) {
    return ReportCategory{name, std::move(records)};
}

std::vector<ReportCategory> Single(ReportCategory category) {
    std::vector<ReportCategory> categories;
    categories.push_back(std::move(category));
    return categories;
}

// One monitor as Windows delivers it, built from a real EDID block: the EDID's maker, product
// code, serial descriptor (absent: Windows reads "0"), name, week, year and image size.
struct EdidMonitor {
    std::wstring maker;
    std::wstring productCode;
    std::wstring serial;
    std::wstring name;
    std::wstring week;
    std::wstring year;
    std::wstring widthCm;
    std::wstring heightCm;
};

// Dell P2722H, linuxhw EDID collection, Digital/Dell/DEL4240/073217A94F53.
const EdidMonitor kDellP2722H{L"DEL", L"4240", L"G97Q093", L"DELL P2722H", L"37", L"2021", L"60", L"34"};
// Samsung S24D300, linuxhw EDID collection, Digital/Samsung/SAM0B43/0F6BBE503379; no serial descriptor.
const EdidMonitor kSamsungS24D300{L"SAM", L"0B43", L"0", L"S24D300", L"44", L"2014", L"53", L"30"};

// WmiMonitorID's uint16 name arrays as the WMI layer renders them, padded with zeros.
std::wstring CodeArray(const std::wstring& text, size_t length) {
    std::wstring rendered;
    for (size_t i = 0; i < length; ++i) {
        rendered += (i > 0 ? L"; " : L"") + std::to_wstring(i < text.size() ? static_cast<unsigned>(text[i]) : 0u);
    }
    return rendered;
}

// The Win32_DesktopMonitor record, the display path and the WmiMonitorID rows of one connected
// monitor, as the monitor step leaves them before the final pass. The instance ("5&…&UID4352")
// is what Windows gives the one physical unit.
void AddConnectedMonitor(ReportCategory& monitors, const EdidMonitor& edid, const std::wstring& windowsTitle,
                         const std::wstring& instance, const std::wstring& gdiName, uint32_t connector,
                         uint32_t width, uint32_t height) {
    const std::wstring hardwareId = L"DISPLAY\\" + edid.maker + edid.productCode;
    std::wstring upperInstance = instance;
    for (wchar_t& c : upperInstance) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    monitors.records.push_back(ReportRecord{windowsTitle, {{L"Hersteller", L"(Standardmonitortypen)"},
                                                           {L"Monitortyp", windowsTitle},
                                                           {L"PnP-Geräte-ID", hardwareId + L"\\" + upperInstance},
                                                           {L"Status", L"OK"}}});
    AddHardwareIdsFromPnpIds(monitors);

    DisplayPathInfo path;
    path.friendlyName = edid.name;
    path.devicePath = L"\\\\?\\DISPLAY#" + edid.maker + edid.productCode + L"#" + instance +
                      L"#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
    path.gdiDeviceName = gdiName;
    path.friendlyNameFromEdid = true;
    path.outputTechnology = connector;
    path.refreshNumerator = 60;
    path.refreshDenominator = 1;
    path.hasSourceMode = true;
    path.width = width;
    path.height = height;
    path.pixelFormat = 4;
    monitors.records.push_back(BuildDisplayPathRecord(path));

    const std::wstring instanceName = hardwareId + L"\\" + instance + L"_0";
    const WmiRow ids = {{L"InstanceName", instanceName},
                        {L"ManufacturerName", CodeArray(edid.maker, 16)},
                        {L"ProductCodeID", CodeArray(edid.productCode, 16)},
                        {L"SerialNumberID", CodeArray(edid.serial, 16)},
                        {L"UserFriendlyName", CodeArray(edid.name, 13)},
                        {L"WeekOfManufacture", edid.week},
                        {L"YearOfManufacture", edid.year},
                        {L"Active", L"-1"}};
    const WmiRow params = {{L"InstanceName", instanceName},
                           {L"MaxHorizontalImageSize", edid.widthCm},
                           {L"MaxVerticalImageSize", edid.heightCm},
                           {L"VideoInputType", L"1"}};
    AddEdidRows(monitors, {ids}, {params});
}

} // namespace

TEST(BuildLoadCategory, HasOneRecordWithTheFourLabelsTheLiveRefreshLooksFor) {
    const ReportCategory load = BuildLoadCategory(LoadSnapshot{37, 100, 0, -1});
    EXPECT_EQ(load.name, L"Aktuelle Auslastung");
    ASSERT_EQ(load.records.size(), 1u);
    EXPECT_EQ(load.records[0].title, L"Livewerte – automatische Aktualisierung alle 5 Sekunden");
    const std::vector<ReportField> expected = {
        {L"CPU-Auslastung", L"37 %"},
        {L"Arbeitsspeicher-Auslastung", L"100 %"},
        {L"Datenträger-Auslastung", L"0 %"},
        {L"GPU-Auslastung (höchste Engine)", L"Nicht gemeldet"},
    };
    EXPECT_EQ(load.records[0].fields, expected);
}

TEST(BuildLoadCategory, KeepsEveryFieldWhenNothingWasMeasured) {
    const ReportCategory load = BuildLoadCategory(LoadSnapshot{});
    ASSERT_EQ(load.records.size(), 1u);
    ASSERT_EQ(load.records[0].fields.size(), 4u);
    for (const ReportField& field : load.records[0].fields) {
        EXPECT_EQ(field.second, L"Nicht gemeldet") << field.first;
    }
}

TEST(RunFinalPass, MergesDuplicatesInOrdinaryCategories) {
    auto categories = Single(Category(L"Laufwerke", {
        Record(L"Disk A", {{L"Seriennummer", L"WD-1234A"}, {L"Kapazität", L"1 TB"}}),
        Record(L"Disk B", {{L"Seriennummer", L"WD-5678B"}}),
        Record(L"Disk A", {{L"Seriennummer", L"WD-1234A"}, {L"Firmware", L"2.0"}}),
    }));
    RunFinalPass(categories);
    ASSERT_EQ(categories[0].records.size(), 2u);
    EXPECT_EQ(GetFieldValue(categories[0].records[0], L"Firmware"), L"2.0");
}

TEST(RunFinalPass, NeverMergesCachesOrProcessorsThatShareAName) {
    std::vector<ReportRecord> records;
    records.push_back(Record(L"Intel Xeon Gold", {{L"Sockel", L"CPU0"}}));
    records.push_back(Record(L"Intel Xeon Gold", {{L"Sockel", L"CPU1"}}));
    for (const wchar_t* level : {L"3", L"4", L"5"}) {
        records.push_back(Record(L"Cache Memory", {{L"Cache-Level (Code)", level}, {L"Status", L"OK"}}));
    }
    auto categories = Single(Category(L"Prozessor", std::move(records)));
    RunFinalPass(categories);
    ASSERT_EQ(categories[0].records.size(), 5u);
    EXPECT_EQ(GetFieldValue(categories[0].records[1], L"Sockel"), L"CPU1");
    EXPECT_EQ(GetFieldValue(categories[0].records[2], L"Cache-Level (Code)"), L"3");
    EXPECT_EQ(GetFieldValue(categories[0].records[4], L"Cache-Level (Code)"), L"5");
}

TEST(RunFinalPass, NeverMergesMemoryRecords) {
    const ReportRecord bank = Record(L"DIMM 0", {{L"Seriennummer", L"1234"}});
    auto categories = Single(Category(L"Arbeitsspeicher", {bank, bank}));
    RunFinalPass(categories);
    EXPECT_EQ(categories[0].records.size(), 2u);
}

TEST(RunFinalPass, TrimsTitlesAndValuesButNotLabels) {
    // A value of blanks only (an unset asset tag, padded by the firmware) reads as not reported.
    auto categories = Single(Category(L"System", {Record(L" \tPC-01 \r\n", {{L" Modell ", L"  X1 Carbon\t"},
                                                                             {L"Asset-Tag", L"          "}})}));
    RunFinalPass(categories);
    EXPECT_EQ(categories[0].records[0].title, L"PC-01");
    EXPECT_EQ(categories[0].records[0].fields, (std::vector<ReportField>{{L" Modell ", L"X1 Carbon"},
                                                                         {L"Asset-Tag", L"Nicht gemeldet"}}));
}

TEST(RunFinalPass, TurnsCimDatesIntoDayMonthYearByLabel) {
    auto categories = Single(Category(L"Mainboard & BIOS", {Record(L"BIOS", {
        {L"Veröffentlichungsdatum", L"20230315000000.000000+000"},
        {L"Treiberdatum", L" 20210621000000.******+***"},
        {L"Installiert am", L"20200102030405.000000+060"},
        {L"Letzter Systemstart", L"20240229120000.000000+060"},
        {L"BIOS-Datum", L"03/15/2023"},
        {L"Installiert (KiB)", L"20230315"},
        {L"Version", L"20230315"},
    })}));
    RunFinalPass(categories);
    const std::vector<ReportField> expected = {
        {L"Veröffentlichungsdatum", L"15.03.2023"},
        {L"Treiberdatum", L"21.06.2021"},
        {L"Installiert am", L"02.01.2020"},
        {L"Letzter Systemstart", L"29.02.2024"},
        {L"BIOS-Datum", L"03/15/2023"},
        {L"Installiert (KiB)", L"20230315"},
        {L"Version", L"20230315"},
    };
    EXPECT_EQ(categories[0].records[0].fields, expected);
}

TEST(RunFinalPass, ConvertsBooleansOnlyForTheirExactLabels) {
    auto categories = Single(Category(L"Netzwerk", {Record(L"LAN", {
        {L"DHCP", L"TRUE"},
        {L"Signiert", L"-1"},
        {L"Besitz übernommen", L"False"},
        {L"Primärpartition", L"0"},
        {L"Status", L"True"},
        {L"Aktivierte Kerne", L"1"},
        {L"DHCP-Server", L"1"},
    })}));
    RunFinalPass(categories);
    const std::vector<ReportField> expected = {
        {L"DHCP", L"Ja"},
        {L"Signiert", L"Ja"},
        {L"Besitz übernommen", L"Nein"},
        {L"Primärpartition", L"Nein"},
        {L"Status", L"True"},
        {L"Aktivierte Kerne", L"1"},
        {L"DHCP-Server", L"1"},
    };
    EXPECT_EQ(categories[0].records[0].fields, expected);
}

TEST(RunFinalPass, ConvertsEveryBooleanLabelAndCapitalisedDateLabels) {
    auto categories = Single(Category(L"Partitionen & Volumes", {Record(L"Partition", {
        {L"Aktiviert", L"TRUE"},
        {L"Eingeschaltet", L"0"},
        {L"Startpartition", L"True"},
        {L"Primärpartition", L"FALSE"},
        {L"Datum der Freigabe", L"20191231235959.000000+000"},
        {L"Ablaufdatum", L"20300101"},
        {L"Startpartition ", L"True"},
        {L"aktiviert", L"TRUE"},
    })}));
    RunFinalPass(categories);
    const std::vector<ReportField> expected = {
        {L"Aktiviert", L"Ja"},
        {L"Eingeschaltet", L"Nein"},
        {L"Startpartition", L"Ja"},
        {L"Primärpartition", L"Nein"},
        {L"Datum der Freigabe", L"31.12.2019"},
        {L"Ablaufdatum", L"01.01.2030"},
        {L"Startpartition ", L"True"},
        {L"aktiviert", L"TRUE"},
    };
    EXPECT_EQ(categories[0].records[0].fields, expected);
}

TEST(RunFinalPass, DropsEmptyCategoriesAndKeepsTheOrderOfTheRest) {
    std::vector<ReportCategory> categories;
    categories.push_back(Category(L"Aktuelle Auslastung", {Record(L"Live", {})}));
    categories.push_back(Category(L"Akku", {}));
    categories.push_back(Category(L"System", {Record(L"PC", {})}));
    categories.push_back(Category(L"Optische Laufwerke", {}));
    categories.push_back(Category(L"Windows", {Record(L"Windows 11", {})}));
    RunFinalPass(categories);
    EXPECT_EQ(Names(categories), (std::vector<std::wstring>{L"Aktuelle Auslastung", L"System", L"Windows"}));
}

TEST(RunFinalPass, SecondRunChangesNothing) {
    auto build = [] {
        return Single(Category(L"Windows", {Record(L" Windows 11 ", {
            {L"Installiert am", L"20200102030405.000000+060"},
            {L"Aktiviert", L"TRUE"},
            {L"Signiert", L"Ja"},
        })}));
    };
    auto once = build();
    RunFinalPass(once);
    auto twice = build();
    RunFinalPass(twice);
    RunFinalPass(twice);
    EXPECT_EQ(once[0].records[0].title, twice[0].records[0].title);
    EXPECT_EQ(once[0].records[0].fields, twice[0].records[0].fields);
    EXPECT_EQ(GetFieldValue(twice[0].records[0], L"Aktiviert"), L"Ja");
}

TEST(RunFinalPass, EnrichesMergedRecordsBeforeDroppingEmptyCategories) {
    // The vendor id only appears once the two records are one; the category without records
    // disappears whatever the knowledge base does.
    std::vector<ReportCategory> categories;
    categories.push_back(Category(L"Eingabegeräte", {
        Record(L"HID-Tastatur", {{L"Seriennummer", L"KB-0001"}}),
        Record(L"HID-Tastatur", {{L"Seriennummer", L"KB-0001"}, {L"PnP-Geräte-ID", L"  USB\\VID_046D&PID_C31C  "}}),
    }));
    categories.push_back(Category(L"Akku", {}));
    RunFinalPass(categories);
    ASSERT_EQ(categories.size(), 1u);
    ASSERT_EQ(categories[0].records.size(), 1u);
    EXPECT_EQ(GetFieldValue(categories[0].records[0], L"Hardware-ID-Hersteller"), L"Logitech");
    EXPECT_EQ(GetFieldValue(categories[0].records[0], L"PnP-Geräte-ID"), L"USB\\VID_046D&PID_C31C");
}

TEST(RunFinalPass, KeepsBoardAndBiosApartDespiteTheirPlaceholderSerial) {
    // AMI firmware leaves both serials at its default text on many consumer boards.
    auto categories = Single(Category(L"Mainboard & BIOS", {
        Record(L"B450M Pro4", {{L"Hersteller", L"ASRock"}, {L"Seriennummer", L"To Be Filled By O.E.M."}}),
        Record(L"P4.20", {{L"Hersteller", L"American Megatrends International, LLC."},
                          {L"Seriennummer", L"To Be Filled By O.E.M."}}),
    }));
    RunFinalPass(categories);
    ASSERT_EQ(categories[0].records.size(), 2u);
    EXPECT_EQ(GetFieldValue(categories[0].records[0], L"Hersteller"), L"ASRock");
    EXPECT_EQ(categories[0].records[1].title, L"P4.20");
}

TEST(RunFinalPass, NamesAMonitorByItsEdidNameBeforeTheKnowledgeBaseReadsIt) {
    for (const wchar_t* windowsTitle : {L"Generischer PnP-Monitor", L"Generic PnP Monitor"}) {
        ReportCategory monitors{L"Monitore", {}};
        AddConnectedMonitor(monitors, kDellP2722H, windowsTitle, L"5&2b7f0e5b&0&UID4352", L"\\\\.\\DISPLAY1", 10,
                            1920, 1080);
        auto categories = Single(std::move(monitors));
        RunFinalPass(categories);

        ASSERT_EQ(categories[0].records.size(), 1u) << windowsTitle;
        const ReportRecord& monitor = categories[0].records[0];
        EXPECT_EQ(monitor.title, L"DELL P2722H");
        // Read on the merged record: the placeholder record alone would give "herstellerspezifischer Code".
        EXPECT_EQ(GetFieldValue(monitor, L"Modell-/Produktcode (aufgelöst)"),
                  L"4240 – DELL P2722H (vom Monitor/Windows gemeldet)");
        EXPECT_EQ(GetFieldValue(monitor, L"Herstellerkennung (aufgelöst)"), L"DEL – Dell Technologies");
        EXPECT_EQ(GetFieldValue(monitor, L"Profil: Gerätetyp"), L"27-Zoll-IPS-Monitor");
        EXPECT_EQ(GetFieldValue(monitor, L"Anschluss"), L"DisplayPort");
        EXPECT_EQ(GetFieldValue(monitor, L"Seriennummer"), L"G97Q093");
        EXPECT_EQ(GetFieldValue(monitor, L"Diagonale"), L"27.2 Zoll");
    }
}

TEST(RunFinalPass, KeepsTwoMonitorsOfOneModelApartWithTheirOwnPathsAndEdidFacts) {
    ReportCategory monitors{L"Monitore", {}};
    AddConnectedMonitor(monitors, kSamsungS24D300, L"Generic PnP Monitor", L"5&1f3a7c2&0&UID4352",
                        L"\\\\.\\DISPLAY1", 5, 1920, 1080);
    AddConnectedMonitor(monitors, kSamsungS24D300, L"Generic PnP Monitor", L"5&1f3a7c2&0&UID4353",
                        L"\\\\.\\DISPLAY2", 4, 1600, 900);
    auto categories = Single(std::move(monitors));
    RunFinalPass(categories);

    ASSERT_EQ(categories[0].records.size(), 2u);
    const ReportRecord& first = categories[0].records[0];
    const ReportRecord& second = categories[0].records[1];
    EXPECT_EQ(first.title, L"S24D300");
    EXPECT_EQ(second.title, L"S24D300");
    EXPECT_EQ(GetFieldValue(first, L"Windows-Anzeigename"), L"\\\\.\\DISPLAY1");
    EXPECT_EQ(GetFieldValue(second, L"Windows-Anzeigename"), L"\\\\.\\DISPLAY2");
    EXPECT_EQ(GetFieldValue(first, L"Anschluss"), L"HDMI");
    EXPECT_EQ(GetFieldValue(second, L"Anschluss"), L"DVI");
    EXPECT_EQ(GetFieldValue(first, L"Aktive Auflösung"), L"1920 × 1080 Pixel");
    EXPECT_EQ(GetFieldValue(second, L"Aktive Auflösung"), L"1600 × 900 Pixel");
    EXPECT_EQ(GetFieldValue(first, L"EDID-Instanz"), L"DISPLAY\\SAM0B43\\5&1f3a7c2&0&UID4352_0");
    EXPECT_EQ(GetFieldValue(second, L"EDID-Instanz"), L"DISPLAY\\SAM0B43\\5&1f3a7c2&0&UID4353_0");
    EXPECT_EQ(GetFieldValue(second, L"Seriennummer"), L"0");
    EXPECT_EQ(GetFieldValue(second, L"Sichtbare Größe"), L"53 × 30 cm");
}
