#include "inventory/MonitorCategory.h"
#include "inventory/ReportLookup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::wstring kDellPath = L"\\\\?\\DISPLAY#DEL4321#5&1a2b3c&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
const std::wstring kDellInstance = L"DISPLAY\\DEL4321\\5&1a2b3c&0&UID4353_0";

DisplayPathInfo DellPath() {
    DisplayPathInfo path;
    path.friendlyName = L"DELL U2720Q";
    path.devicePath = kDellPath;
    path.gdiDeviceName = L"\\\\.\\DISPLAY1";
    path.friendlyNameFromEdid = true;
    path.outputTechnology = 10;
    path.refreshNumerator = 59940;
    path.refreshDenominator = 1000;
    path.hasSourceMode = true;
    path.width = 1920;
    path.height = 1080;
    path.pixelFormat = 4;
    return path;
}

// The codes of a WmiMonitorID name array as the WMI layer renders them, padded with zeros.
std::wstring CodeArray(const std::wstring& text, size_t length = 16) {
    std::wstring rendered;
    for (size_t i = 0; i < length; ++i) {
        if (i > 0) {
            rendered += L"; ";
        }
        rendered += std::to_wstring(i < text.size() ? static_cast<unsigned>(text[i]) : 0u);
    }
    return rendered;
}

WmiRow DellIds(const std::wstring& instance = kDellInstance) {
    return {
        {L"InstanceName", instance},
        {L"ManufacturerName", CodeArray(L"DEL")},
        {L"ProductCodeID", CodeArray(L"A0B1")},
        {L"SerialNumberID", CodeArray(L"CN0ABC123")},
        {L"UserFriendlyName", CodeArray(L"DELL U2720Q", 13)},
        {L"WeekOfManufacture", L"12"},
        {L"YearOfManufacture", L"2021"},
        {L"Active", L"-1"},
    };
}

WmiRow Params(const std::wstring& instance, const std::wstring& horizontal, const std::wstring& vertical,
              const std::wstring& input) {
    WmiRow row = {{L"InstanceName", instance}, {L"MaxHorizontalImageSize", horizontal},
                  {L"MaxVerticalImageSize", vertical}};
    if (!input.empty()) {
        row[L"VideoInputType"] = input;
    }
    return row;
}

ReportCategory PathCategory(const std::wstring& devicePath) {
    DisplayPathInfo path = DellPath();
    path.devicePath = devicePath;
    return ReportCategory{L"Monitore", {BuildDisplayPathRecord(path)}};
}

} // namespace

TEST(MonitorHardwareId, TakesTheIdFromDevicePathsAndInstanceNamesAlike) {
    EXPECT_EQ(MonitorHardwareId(kDellPath), L"DISPLAY\\DEL4321");
    EXPECT_EQ(MonitorHardwareId(kDellInstance), L"DISPLAY\\DEL4321");
    EXPECT_EQ(MonitorHardwareId(L"\\\\?\\DISPLAY#Default_Monitor#0000&0000#{E6F07B5F-EE97-4A90-B076-33F57BF4EAA7}"),
              L"DISPLAY\\Default_Monitor");
    EXPECT_EQ(MonitorHardwareId(L"MONITOR\\DISPLAY\\SAM0F9E\\x"), L"DISPLAY\\SAM0F9E");
}

TEST(MonitorHardwareId, GivesNothingWithoutAnUpperCasePrefixOrAClosedNonEmptyId) {
    for (const wchar_t* text : {L"display\\del4321\\5&1a2b3c&0&UID4353_0", L"DISPLAY\\DEL4321", L"DISPLAY\\",
                                L"DISPLAY\\\\DEL4321\\x", L"\\\\?\\DISPLAY##x", L"Nicht gemeldet", L"",
                                L"DISPLAY"}) {
        EXPECT_EQ(MonitorHardwareId(text), L"") << testing::PrintToString(std::wstring(text));
    }
}

TEST(ConnectorName, NamesTheKnownTechnologiesAndShowsOthersAsSignedCodes) {
    EXPECT_EQ(ConnectorName(4), L"DVI");
    EXPECT_EQ(ConnectorName(5), L"HDMI");
    EXPECT_EQ(ConnectorName(6), L"LVDS");
    EXPECT_EQ(ConnectorName(10), L"DisplayPort");
    EXPECT_EQ(ConnectorName(11), L"Embedded DisplayPort");
    EXPECT_EQ(ConnectorName(16), L"Indirekt (kabelgebunden)");
    EXPECT_EQ(ConnectorName(17), L"Virtuell");
    EXPECT_EQ(ConnectorName(0x80000000u), L"Intern");
    EXPECT_EQ(ConnectorName(0), L"Windows-Code 0");
    EXPECT_EQ(ConnectorName(15), L"Windows-Code 15");
    EXPECT_EQ(ConnectorName(0xFFFFFFFFu), L"Windows-Code -1");
    EXPECT_EQ(ConnectorName(0x80000001u), L"Windows-Code -2147483647");
}

TEST(DecodeWmiCodeArray, EndsAtTheFirstZeroOrNonNumberAndTrims) {
    EXPECT_EQ(DecodeWmiCodeArray(L"68; 69; 76; 0; 0"), L"DEL");
    EXPECT_EQ(DecodeWmiCodeArray(L"68; 69; 76; 0; 77"), L"DEL");
    EXPECT_EQ(DecodeWmiCodeArray(L"32; 65; 32; 0"), L"A");
    EXPECT_EQ(DecodeWmiCodeArray(L"65; ; 66"), L"A");
    EXPECT_EQ(DecodeWmiCodeArray(L"65;66;67"), L"ABC");
    EXPECT_EQ(DecodeWmiCodeArray(L"65; 66;"), L"AB");
    EXPECT_EQ(DecodeWmiCodeArray(L""), L"");
    EXPECT_EQ(DecodeWmiCodeArray(L"Nicht gemeldet"), L"");
    EXPECT_EQ(DecodeWmiCodeArray(L"0; 65"), L"");
}

TEST(DecodeWmiCodeArray, SkipsCodesBeyondSixteenBitsAndKeepsNonAsciiUnits) {
    EXPECT_EQ(DecodeWmiCodeArray(L"65; 70000; 66"), L"AB");
    EXPECT_EQ(DecodeWmiCodeArray(L"65; 65536; 65535"), std::wstring(L"A") + wchar_t(0xFFFF));
    EXPECT_EQ(DecodeWmiCodeArray(L"77; 252; 108; 108; 0"), L"Müll");
    EXPECT_EQ(DecodeWmiCodeArray(L"65; 99999999999999999999999; 66"), L"A") << "an overflowing item reads as 0";
}

TEST(MonitorInstanceMatches, ComparesNormalisedInstanceNamesExactly) {
    const MonitorInstanceMatches matches{NormalizeIdentifier(kDellInstance)};
    EXPECT_TRUE(matches(WmiRow{{L"InstanceName", L"display/del4321/5-1a2b3c-0-uid4353 0"}}));
    EXPECT_FALSE(matches(WmiRow{{L"InstanceName", kDellInstance + L"1"}}));
    EXPECT_FALSE(matches(WmiRow{{L"InstanceName", L"DISPLAY\\DEL4321"}}));
    EXPECT_FALSE(matches(WmiRow{}));
}

TEST(BuildDisplayPathRecord, WritesTheFieldsInOrderUnderTheWindowsName) {
    const ReportRecord record = BuildDisplayPathRecord(DellPath());
    EXPECT_EQ(record.title, L"DELL U2720Q");
    const std::vector<ReportField> expected = {
        {L"Monitor-Gerätepfad", kDellPath},
        {L"Monitor-Hardwarekennung", L"DISPLAY\\DEL4321"},
        {L"Windows-Anzeigename", L"\\\\.\\DISPLAY1"},
        {L"Anschluss", L"DisplayPort"},
        {L"Aktuelle Bildwiederholfrequenz", L"59.940 Hz"},
        {L"Aktive Auflösung", L"1920 × 1080 Pixel"},
        {L"Pixelformat (Code)", L"4"},
        {L"EDID-Name verfügbar", L"Ja"},
    };
    EXPECT_EQ(record.fields, expected);
}

TEST(BuildDisplayPathRecord, LeavesOutWhatThePathDoesNotReport) {
    DisplayPathInfo path = DellPath();
    path.friendlyName.clear();
    path.gdiDeviceName.clear();
    path.devicePath = L"\\\\?\\ROOT#Unbekannt#0000";
    path.refreshDenominator = 0;
    path.hasSourceMode = false;
    const ReportRecord record = BuildDisplayPathRecord(path);
    EXPECT_EQ(record.title, L"Aktiver Monitor");
    EXPECT_EQ(LabelsOf(record),
              (std::vector<std::wstring>{L"Monitor-Gerätepfad", L"Anschluss", L"EDID-Name verfügbar"}));
    EXPECT_EQ(GetFieldValue(record, L"EDID-Name verfügbar"), L"Ja") << "the flag does not follow the name";
}

TEST(BuildDisplayPathRecord, FormatsRatesWithThreeDecimalsAndSkipsAZeroRate) {
    DisplayPathInfo path = DellPath();
    path.refreshNumerator = 50;
    path.refreshDenominator = 1;
    EXPECT_EQ(GetFieldValue(BuildDisplayPathRecord(path), L"Aktuelle Bildwiederholfrequenz"), L"50.000 Hz");
    path.refreshNumerator = 143981;
    path.refreshDenominator = 1000;
    EXPECT_EQ(GetFieldValue(BuildDisplayPathRecord(path), L"Aktuelle Bildwiederholfrequenz"), L"143.981 Hz");
    path.refreshNumerator = 0xFFFFFFFFu;
    path.refreshDenominator = 1;
    EXPECT_EQ(GetFieldValue(BuildDisplayPathRecord(path), L"Aktuelle Bildwiederholfrequenz"), L"4294967295.000 Hz");
    // A virtual screen reports 0/1: no display refreshes at 0 Hz.
    path.refreshNumerator = 0;
    EXPECT_EQ(GetFieldValue(BuildDisplayPathRecord(path), L"Aktuelle Bildwiederholfrequenz"), L"");
}

TEST(BuildDisplayPathRecord, WritesLargeModesUnsignedAndPixelFormatsSigned) {
    DisplayPathInfo path = DellPath();
    path.width = 0xFFFFFFFFu;
    path.height = 2160;
    path.pixelFormat = -1;
    const ReportRecord record = BuildDisplayPathRecord(path);
    EXPECT_EQ(GetFieldValue(record, L"Aktive Auflösung"), L"4294967295 × 2160 Pixel");
    EXPECT_EQ(GetFieldValue(record, L"Pixelformat (Code)"), L"-1");
}

TEST(AddHardwareIdsFromPnpIds, AddsTheIdOnlyWhereThePnpIdHasOne) {
    ReportCategory monitors{L"Monitore",
                            {{L"Generic PnP Monitor", {{L"PnP-Geräte-ID", kDellInstance}, {L"Status", L"OK"}}},
                             {L"Generic Non-PnP Monitor", {{L"PnP-Geräte-ID", L"Nicht gemeldet"}}},
                             {L"Ohne ID", {{L"Status", L"OK"}}}}};
    AddHardwareIdsFromPnpIds(monitors);
    EXPECT_EQ(monitors.records[0].fields.back(), (ReportField{L"Monitor-Hardwarekennung", L"DISPLAY\\DEL4321"}));
    EXPECT_EQ(monitors.records[1].fields.size(), 1u);
    EXPECT_EQ(monitors.records[2].fields.size(), 1u);
}

TEST(AddEdidRows, CompletesThePathWhoseDevicePathContainsTheInstanceName) {
    ReportCategory monitors = PathCategory(L"\\\\?\\DISPLAY#DEL4321#5&1a2b3c&0&UID4353_0#{e6f07b5f}");
    monitors.records[0].title = L"Windows-Name";
    AddEdidRows(monitors, {DellIds()}, {Params(kDellInstance, L"60", L"34", L"1")});
    ASSERT_EQ(monitors.records.size(), 1u);
    const ReportRecord& record = monitors.records[0];
    EXPECT_EQ(record.title, L"DELL U2720Q") << "the EDID name replaces the Windows name";
    const std::vector<ReportField> edidFields(record.fields.end() - 10, record.fields.end());
    const std::vector<ReportField> expected = {
        {L"EDID-Instanz", kDellInstance},
        {L"Herstellerkennung", L"DEL"},
        {L"Modell-/Produktcode", L"A0B1"},
        {L"Seriennummer", L"CN0ABC123"},
        {L"Herstellungswoche", L"12"},
        {L"Herstellungsjahr", L"2021"},
        {L"Aktiv", L"Ja"},
        {L"Sichtbare Größe", L"60 × 34 cm"},
        {L"Diagonale", L"27.2 Zoll"},
        {L"Signaleingang", L"Digital"},
    };
    EXPECT_EQ(edidFields, expected);
    EXPECT_EQ(GetFieldValue(record, L"Monitor-Hardwarekennung"), L"DISPLAY\\DEL4321") << "equal ids stay one value";
}

TEST(AddEdidRows, GivesTheUsualWindowsPairSeparateRecordsWithOneHardwareId) {
    ReportCategory monitors = PathCategory(kDellPath);
    AddEdidRows(monitors, {DellIds()}, {});
    ASSERT_EQ(monitors.records.size(), 2u);
    EXPECT_EQ(monitors.records[0].title, L"DELL U2720Q");
    EXPECT_EQ(GetFieldValue(monitors.records[0], L"Herstellerkennung"), L"");
    const ReportRecord& edid = monitors.records[1];
    EXPECT_EQ(edid.title, L"DELL U2720Q");
    EXPECT_EQ(edid.fields.front(), (ReportField{L"EDID-Instanz", kDellInstance}));
    EXPECT_EQ(GetFieldValue(edid, L"Monitor-Hardwarekennung"),
              GetFieldValue(monitors.records[0], L"Monitor-Hardwarekennung"));
    EXPECT_EQ(GetFieldValue(edid, L"Sichtbare Größe"), L"") << "no params row, no size";
    EXPECT_EQ(GetFieldValue(edid, L"Signaleingang"), L"");
}

TEST(AddEdidRows, JoinsNoRecordWithoutDevicePathAndKeepsTitlesWithoutAFriendlyName) {
    ReportCategory monitors{L"Monitore", {{L"Generic PnP Monitor", {{L"PnP-Geräte-ID", kDellInstance}}}}};
    WmiRow first = DellIds();
    first.erase(L"UserFriendlyName");
    WmiRow second = DellIds(L"DISPLAY\\SAM0F9E\\4&2&UID1_0");
    second[L"UserFriendlyName"] = CodeArray(L"", 13);
    AddEdidRows(monitors, {first, second}, {});
    ASSERT_EQ(monitors.records.size(), 3u);
    EXPECT_EQ(monitors.records[0].title, L"Generic PnP Monitor");
    EXPECT_EQ(monitors.records[0].fields.size(), 1u);
    EXPECT_EQ(monitors.records[1].title, L"Monitor (EDID)");
    EXPECT_EQ(monitors.records[2].title, L"Monitor (EDID)");
    EXPECT_EQ(GetFieldValue(monitors.records[2], L"Monitor-Hardwarekennung"), L"DISPLAY\\SAM0F9E");
}

TEST(AddEdidRows, KeepsTheWindowsTitleWhenTheRowHasNoFriendlyName) {
    ReportCategory monitors = PathCategory(L"\\\\?\\DISPLAY#DEL4321#5&1a2b3c&0&UID4353_0#{e6f07b5f}");
    monitors.records[0].title = L"Windows-Name";
    WmiRow ids = DellIds();
    ids.erase(L"UserFriendlyName");
    AddEdidRows(monitors, {ids}, {});
    ASSERT_EQ(monitors.records.size(), 1u);
    EXPECT_EQ(monitors.records[0].title, L"Windows-Name");
}

TEST(AddEdidRows, JoinsTheFirstPathThatContainsTheInstanceOrIsContainedInIt) {
    // The second path is contained in the instance name, the third contains it: the first match wins.
    ReportCategory monitors = PathCategory(L"\\\\?\\DISPLAY#SAM0F9E#1");
    monitors.records.push_back(PathCategory(L"DEL4321").records[0]);
    monitors.records.push_back(PathCategory(L"\\\\?\\DISPLAY#DEL4321#5&1a2b3c&0&UID4353_0#{x}").records[0]);
    AddEdidRows(monitors, {DellIds()}, {});
    ASSERT_EQ(monitors.records.size(), 3u);
    EXPECT_EQ(GetFieldValue(monitors.records[0], L"EDID-Instanz"), L"");
    EXPECT_EQ(GetFieldValue(monitors.records[1], L"EDID-Instanz"), kDellInstance);
    EXPECT_EQ(GetFieldValue(monitors.records[2], L"EDID-Instanz"), L"");
}

TEST(AddEdidRows, GivesEachOfTwoSameModelRowsItsOwnRecordWithTheSameHardwareId) {
    ReportCategory monitors{L"Monitore", {}};
    AddEdidRows(monitors, {DellIds(), DellIds(L"DISPLAY\\DEL4321\\5&1a2b3c&0&UID4354_0")}, {});
    ASSERT_EQ(monitors.records.size(), 2u);
    EXPECT_EQ(GetFieldValue(monitors.records[0], L"Monitor-Hardwarekennung"), L"DISPLAY\\DEL4321");
    EXPECT_EQ(GetFieldValue(monitors.records[1], L"Monitor-Hardwarekennung"), L"DISPLAY\\DEL4321");
    EXPECT_NE(GetFieldValue(monitors.records[0], L"EDID-Instanz"), GetFieldValue(monitors.records[1], L"EDID-Instanz"));
}

TEST(AddEdidRows, TakesSizeAndInputFromTheFirstParamsRowOfTheSameInstanceOnly) {
    ReportCategory monitors{L"Monitore", {}};
    AddEdidRows(monitors, {DellIds()},
                {Params(kDellInstance + L"1", L"70", L"40", L"1"),
                 Params(L"display\\del4321\\5-1a2b3c-0-uid4353_0", L"53", L"30", L"0"),
                 Params(kDellInstance, L"60", L"34", L"1")});
    const ReportRecord& record = monitors.records.at(0);
    EXPECT_EQ(GetFieldValue(record, L"Sichtbare Größe"), L"53 × 30 cm");
    EXPECT_EQ(GetFieldValue(record, L"Diagonale"), L"24.0 Zoll");
    EXPECT_EQ(GetFieldValue(record, L"Signaleingang"), L"Analog");
}

TEST(AddEdidRows, WritesTheInputButNoSizeWhenEitherSizeIsZeroOrMissing) {
    for (const auto& [horizontal, vertical] : {std::pair{L"0", L"34"}, std::pair{L"60", L""},
                                               std::pair{L"Nicht gemeldet", L"34"}}) {
        ReportCategory monitors{L"Monitore", {}};
        AddEdidRows(monitors, {DellIds()}, {Params(kDellInstance, horizontal, vertical, L"")});
        const ReportRecord& record = monitors.records.at(0);
        EXPECT_EQ(GetFieldValue(record, L"Sichtbare Größe"), L"") << testing::PrintToString(std::wstring(horizontal));
        EXPECT_EQ(GetFieldValue(record, L"Diagonale"), L"");
        EXPECT_EQ(GetFieldValue(record, L"Signaleingang"), L"Analog") << "a missing input type reads as analogue";
    }
}

TEST(AddEdidRows, ReadsOnlyTheExactInputCodeOneAsDigital) {
    for (const auto& [input, expected] : {std::pair{L"1", L"Digital"}, std::pair{L" 1", L"Analog"},
                                          std::pair{L"01", L"Analog"}, std::pair{L"0", L"Analog"}}) {
        ReportCategory monitors{L"Monitore", {}};
        AddEdidRows(monitors, {DellIds()}, {Params(kDellInstance, L"60", L"34", input)});
        EXPECT_EQ(GetFieldValue(monitors.records.at(0), L"Signaleingang"), expected)
            << testing::PrintToString(std::wstring(input));
    }
}

TEST(AddEdidRows, DoesNotWrapTheDiagonalOfAbsurdSizes) {
    ReportCategory monitors{L"Monitore", {}};
    AddEdidRows(monitors, {DellIds()}, {Params(kDellInstance, L"4294967296", L"1", L"1")});
    const ReportRecord& record = monitors.records.at(0);
    EXPECT_EQ(GetFieldValue(record, L"Sichtbare Größe"), L"4294967296 × 1 cm");
    EXPECT_EQ(GetFieldValue(record, L"Diagonale"), L"1690932006.3 Zoll");
}

TEST(AddEdidRows, LeavesOutEveryValueTheRowDoesNotDeliver) {
    ReportCategory monitors{L"Monitore", {}};
    AddEdidRows(monitors, {WmiRow{{L"InstanceName", kDellInstance}}}, {});
    ASSERT_EQ(monitors.records.size(), 1u);
    EXPECT_EQ(monitors.records[0].title, L"Monitor (EDID)");
    EXPECT_EQ(LabelsOf(monitors.records[0]),
              (std::vector<std::wstring>{L"EDID-Instanz", L"Monitor-Hardwarekennung"}));
}
