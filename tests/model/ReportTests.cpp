#include "model/Report.h"

#include <gtest/gtest.h>

namespace {

ReportRecord RecordWith(std::initializer_list<ReportField> fields) {
    ReportRecord record;
    record.fields = fields;
    return record;
}

} // namespace

TEST(FindOrAddCategory, MatchesNamesExactlyAndAddsEachOnce) {
    std::vector<ReportCategory> categories;
    FindOrAddCategory(categories, L"monitore").records.push_back({L"a", {}});
    ReportCategory& monitors = FindOrAddCategory(categories, L"Monitore");
    monitors.records.push_back({L"b", {}});
    EXPECT_EQ(&FindOrAddCategory(categories, L"Monitore"), &categories[1]);
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories[0].name, L"monitore");
    EXPECT_EQ(categories[1].records.size(), 1u);
}

TEST(SetField, IgnoresUnknownValuesUntilAKnownOneArrives) {
    ReportRecord record;
    SetField(record, L"Hersteller", L"Unknown");
    SetField(record, L"Hersteller", L"");
    EXPECT_TRUE(record.fields.empty());
    SetField(record, L"Hersteller", L"Intel");
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"Hersteller", L"Intel"}}));
    SetField(record, L"Hersteller", L"Nicht gemeldet");
    EXPECT_EQ(GetFieldValue(record, L"Hersteller"), L"Intel");
}

TEST(SetField, KnownValueReplacesStoredUnknownOne) {
    ReportRecord record = RecordWith({{L"A", L"Nicht gemeldet"}, {L"B", L"0 Byte"}});
    SetField(record, L"A", L"x");
    SetField(record, L"B", L"16 GiB");
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"A", L"x"}, {L"B", L"16 GiB"}}));
}

TEST(SetField, KeepsValuesEqualAfterNormalisation) {
    ReportRecord record = RecordWith({{L"Modell", L"ST1000DM003-1ER162"}});
    SetField(record, L"Modell", L"st1000dm003 1er162");
    EXPECT_EQ(GetFieldValue(record, L"Modell"), L"ST1000DM003-1ER162");
}

TEST(SetField, ContainmentIsTestedOnTheStoredTextOnly) {
    ReportRecord contained = RecordWith({{L"Modell", L"Samsung SSD 980"}});
    SetField(contained, L"Modell", L"SSD");
    EXPECT_EQ(GetFieldValue(contained, L"Modell"), L"Samsung SSD 980");

    ReportRecord widened = RecordWith({{L"Modell", L"SSD"}});
    SetField(widened, L"Modell", L"Samsung SSD 980");
    EXPECT_EQ(GetFieldValue(widened, L"Modell"), L"SSD · Samsung SSD 980");

    // Any part of a joined text counts as contained.
    SetField(widened, L"Modell", L"SSD · Samsung");
    EXPECT_EQ(GetFieldValue(widened, L"Modell"), L"SSD · Samsung SSD 980");
}

TEST(SetField, MergesIntoTheFirstOfTwoFieldsWithOneLabel) {
    ReportRecord record = RecordWith({{L"L", L"eins"}, {L"L", L"zwei"}});
    EXPECT_EQ(GetFieldValue(record, L"L"), L"eins");
    SetField(record, L"L", L"drei");
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"L", L"eins · drei"}, {L"L", L"zwei"}}));
}

TEST(GetFieldValue, MissingLabelGivesEmptyText) {
    EXPECT_EQ(GetFieldValue(RecordWith({{L"a", L"1"}}), L"A"), L"");
}

TEST(IsUnknownValue, RecognisesExactlyTheFiveTexts) {
    for (const wchar_t* unknown : {L"", L"Nicht gemeldet", L"Unknown", L"Unbekannt", L"0 Byte"}) {
        EXPECT_TRUE(IsUnknownValue(unknown)) << unknown;
    }
    for (const wchar_t* known : {L"unknown", L"Nicht gemeldet ", L" ", L"0", L"0 Bytes"}) {
        EXPECT_FALSE(IsUnknownValue(known)) << known;
    }
}

TEST(NormalizeIdentifier, KeepsLowerCasedAlphanumericsAndDropsNoiseWords) {
    EXPECT_EQ(NormalizeIdentifier(L"NVMe Samsung SSD 980 PRO"), L"samsungssd980pro");
    EXPECT_EQ(NormalizeIdentifier(L"StorageAPI"), L"");
    EXPECT_EQ(NormalizeIdentifier(L"Data"), L"d");
    EXPECT_EQ(NormalizeIdentifier(L"SATA SSD"), L"sssd");
    EXPECT_EQ(NormalizeIdentifier(L"{S3Z8-NB0K_123}"), L"s3z8nb0k123");
    EXPECT_EQ(NormalizeIdentifier(L"Disk drive / SCSI Disk Device"), L"");
}

TEST(NormalizeIdentifier, RemovesOccurrencesThatARemovalCreates) {
    EXPECT_EQ(NormalizeIdentifier(L"aatata"), L"");
    EXPECT_EQ(NormalizeIdentifier(L"nvnvmeme"), L"");
}

TEST(TrimWhitespace, TrimsBothEndsOnly) {
    EXPECT_EQ(TrimWhitespace(L" \t \r\n "), L"");
    EXPECT_EQ(TrimWhitespace(L"  a b  "), L"a b");
    EXPECT_EQ(TrimWhitespace(L"\ta\tb"), L"a\tb");
    EXPECT_EQ(TrimWhitespace(L""), L"");
}

TEST(ParseUInt, ReadsLikeWcstoullWithOverflowAsZero) {
    EXPECT_EQ(ParseUInt(L" 42"), 42u);
    EXPECT_EQ(ParseUInt(L"12abc"), 12u);
    EXPECT_EQ(ParseUInt(L"abc"), 0u);
    EXPECT_EQ(ParseUInt(L""), 0u);
    EXPECT_EQ(ParseUInt(L"+7"), 7u);
    EXPECT_EQ(ParseUInt(L"18446744073709551615"), UINT64_MAX);
    EXPECT_EQ(ParseUInt(L"18446744073709551616"), 0u);
    EXPECT_EQ(ParseUInt(L"99999999999999999999999"), 0u);
    EXPECT_EQ(ParseUInt(L"-1"), UINT64_MAX);
    EXPECT_EQ(ParseUInt(L"-"), 0u);
}

TEST(ParseUInt, OverflowDoesNotLeakIntoTheNextCall) {
    EXPECT_EQ(ParseUInt(L"18446744073709551616"), 0u);
    EXPECT_EQ(ParseUInt(L"5"), 5u);
}

TEST(HardwareReport, StartsEmptyWithLoadUnavailableAndMovesWhole) {
    HardwareReport report;
    EXPECT_TRUE(report.categories.empty());
    EXPECT_TRUE(report.hints.empty());
    EXPECT_TRUE(report.created.empty());
    EXPECT_EQ(report.load.cpuPercent, -1);
    EXPECT_EQ(report.load.memoryPercent, -1);
    EXPECT_EQ(report.load.diskPercent, -1);
    EXPECT_EQ(report.load.gpuPercent, -1);

    FindOrAddCategory(report.categories, L"System").records.push_back({L"PC", {{L"a", L"b"}}});
    report.hints.push_back(L"h");
    report.load.cpuPercent = 12;
    HardwareReport moved = std::move(report);
    ASSERT_EQ(moved.categories.size(), 1u);
    EXPECT_EQ(moved.categories[0].records[0].fields[0].second, L"b");
    EXPECT_EQ(moved.hints, std::vector<std::wstring>{L"h"});
    EXPECT_EQ(moved.load.cpuPercent, 12);
}

TEST(ContainsNoCase, FoldsAsciiLettersOnBothSidesOnly) {
    EXPECT_TRUE(ContainsNoCase(L"SSD-Temperatur", L"TEMPERATUR"));
    EXPECT_TRUE(ContainsNoCase(L"Maximal zulässige SSD-Temperatur", L"zulässig"));
    EXPECT_FALSE(ContainsNoCase(L"ZULÄSSIG", L"zulässig"));
    EXPECT_TRUE(ContainsNoCase(L"cpu", L"CPU"));
    EXPECT_TRUE(ContainsNoCase(L"Sicherheit & Firmware", L"FIRMWARE"));
    EXPECT_TRUE(ContainsNoCase(L"CPU-Auslastung", L"auslastung"));
    EXPECT_FALSE(ContainsNoCase(L"Temperatu", L"temperatur"));
    EXPECT_FALSE(ContainsNoCase(L"Laufwerke", L"volume"));
    EXPECT_FALSE(ContainsNoCase(L"ok", L"okay"));
    EXPECT_TRUE(ContainsNoCase(L"", L""));
    EXPECT_TRUE(ContainsNoCase(L"abc", L""));
    EXPECT_FALSE(ContainsNoCase(L"", L"a"));
}
