#include "inventory/ScanPasses.h"
#include "inventory/ReportLookup.h"

#include <gtest/gtest.h>

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
    auto categories = Single(Category(L"System", {Record(L" \tPC-01 \r\n", {{L" Modell ", L"  X1 Carbon\t"}})}));
    RunFinalPass(categories);
    EXPECT_EQ(categories[0].records[0].title, L"PC-01");
    EXPECT_EQ(categories[0].records[0].fields, (std::vector<ReportField>{{L" Modell ", L"X1 Carbon"}}));
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
