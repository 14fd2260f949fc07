#include "inventory/QueryStep.h"
#include "inventory/ReportLookup.h"

#include "wmi/ComApartment.h"

#include <gtest/gtest.h>

namespace {

class QueryStepTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(com.Result()));
        ASSERT_TRUE(session.IsConnected());
    }

    ComApartment com;
    WmiSession session{L"ROOT\\CIMV2"};
};

const std::wstring kRejectedQuery = L"SELECT * FROM Win32_PnPEntity WHERE Present=True";

} // namespace

TEST(PropertyListFor, PutsTitleFirstThenEveryTablePropertyInOrder) {
    const FieldTable table = {{L"Name", L"Caption"}, {L"Version", L"Version"}, {L"Nochmals", L"Caption"}};
    EXPECT_EQ(PropertyListFor(L"Caption", table),
              (std::vector<std::wstring>{L"Caption", L"Caption", L"Version", L"Caption"}));
}

TEST(FillFieldsFromRow, AppendsEveryTableLabelInOrderWithNotReportedForGaps) {
    // Firmware pads unset strings with blanks, as many boards do with the enclosure's asset tag.
    const WmiRow row = {{L"Manufacturer", L"Contoso"}, {L"Model", L""}, {L"Status", L"Unknown"},
                        {L"SMBIOSAssetTag", L"          "}};
    const FieldTable table = {{L"Hersteller", L"Manufacturer"},
                              {L"Modell", L"Model"},
                              {L"Seriennummer", L"SerialNumber"},
                              {L"Status", L"Status"},
                              {L"Anbieter", L"manufacturer"},
                              {L"Asset-Tag", L"SMBIOSAssetTag"}};
    ReportRecord record;
    FillFieldsFromRow(record, row, table);
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"Hersteller", L"Contoso"},
                                                       {L"Modell", L"Nicht gemeldet"},
                                                       {L"Seriennummer", L"Nicht gemeldet"},
                                                       {L"Status", L"Unknown"},
                                                       {L"Anbieter", L"Nicht gemeldet"},
                                                       {L"Asset-Tag", L"Nicht gemeldet"}}));
}

TEST(AppendRowsToCategory, NumbersUntitledRowsByTheirPlaceAmongAllRecords) {
    // Win32_PnPSignedDriver rows as Windows delivers them: some system devices come without a name.
    const std::vector<WmiRow> rows = {
        {{L"DeviceName", L"Intel(R) SMBus - 7AA3"}, {L"DeviceID", L"PCI\\VEN_8086&DEV_7AA3&SUBSYS_7D251462&REV_11"}},
        {{L"DeviceID", L"ROOT\\UMBUS\\0000"}},
        {{L"DeviceName", L"   "}, {L"DeviceID", L"SWD\\MSRRAS\\MS_AGILEVPNMINIPORT"}},
        {{L"DeviceName", L"PCI-Standard-Host-CPU-Brücke"}, {L"DeviceID", L"PCI\\VEN_8086&DEV_4660"}},
        {{L"DeviceName", L""}, {L"DeviceID", L"ACPI\\PNP0C02\\1"}},
    };
    ReportCategory chipset{L"Chipsatz & Systemgeräte", {}};
    AppendRowsToCategory(chipset, rows, L"DeviceName", {{L"PnP-Geräte-ID", L"DeviceID"}});
    std::vector<std::wstring> titles;
    for (const ReportRecord& record : chipset.records) {
        titles.push_back(record.title);
    }
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"Intel(R) SMBus - 7AA3", L"Chipsatz & Systemgeräte 2",
                                                 L"Chipsatz & Systemgeräte 3", L"PCI-Standard-Host-CPU-Brücke",
                                                 L"Chipsatz & Systemgeräte 5"}));
    EXPECT_EQ(GetFieldValue(chipset.records[2], L"PnP-Geräte-ID"), L"SWD\\MSRRAS\\MS_AGILEVPNMINIPORT");
}

TEST(FillFieldsFromRow, KeepsRepeatedLabelsAndExistingFieldsUnmerged) {
    const WmiRow row = {{L"A", L"eins"}, {L"B", L"zwei"}};
    ReportRecord record;
    record.fields = {{L"Wert", L"Nicht gemeldet"}};
    FillFieldsFromRow(record, row, {{L"Wert", L"A"}, {L"Wert", L"B"}, {L"Wert", L"A"}});
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"Wert", L"Nicht gemeldet"},
                                                       {L"Wert", L"eins"},
                                                       {L"Wert", L"zwei"},
                                                       {L"Wert", L"eins"}}));
}

TEST(FillFieldsFromRow, EmptyTableAddsNothing) {
    ReportRecord record;
    FillFieldsFromRow(record, {{L"A", L"x"}}, {});
    EXPECT_TRUE(record.fields.empty());
}

TEST_F(QueryStepTest, ClassWithoutInstancesCreatesEmptyCategoryWithoutHint) {
    HardwareReport report;
    const FieldTable table = {{L"Name", L"Name"}};
    RunQueryIntoCategory(report, session, L"Akku", L"SELECT * FROM Win32_Battery", PropertyListFor(L"Name", table),
                         L"Name", table);
    ASSERT_EQ(report.categories.size(), 1u);
    EXPECT_EQ(report.categories[0].name, L"Akku");
    EXPECT_TRUE(report.categories[0].records.empty());
    EXPECT_TRUE(report.hints.empty());
}

TEST_F(QueryStepTest, FailingQueryCreatesCategoryAndAddsItsErrorOnce) {
    HardwareReport report;
    const FieldTable table = {{L"Name", L"Name"}};
    RunQueryIntoCategory(report, session, L"Geräte", kRejectedQuery, PropertyListFor(L"Name", table), L"Name", table);
    ASSERT_EQ(report.categories.size(), 1u);
    EXPECT_EQ(report.categories[0].name, L"Geräte");
    EXPECT_TRUE(report.categories[0].records.empty());
    EXPECT_EQ(report.hints, (std::vector<std::wstring>{
                                L"WMI-Abfrage fehlgeschlagen: 0x80041001 \u2013 IDispatch error #3585 | " +
                                kRejectedQuery}));

    // The next step succeeds: the earlier error must not be reported again.
    RunQueryIntoCategory(report, session, L"Geräte", L"SELECT * FROM Win32_Battery", {L"Name"}, L"Name", table);
    EXPECT_EQ(report.hints.size(), 1u);
    EXPECT_EQ(report.categories.size(), 1u);
}

TEST_F(QueryStepTest, FailingQueryKeepsRecordsOfEarlierStep) {
    HardwareReport report;
    const FieldTable table = {{L"Name", L"Caption"}};
    RunQueryIntoCategory(report, session, L"Windows", L"SELECT * FROM Win32_OperatingSystem", {L"Caption"},
                         L"Caption", table);
    RunQueryIntoCategory(report, session, L"Windows", kRejectedQuery, {L"Caption"}, L"Caption", table);
    ASSERT_EQ(report.categories.size(), 1u);
    EXPECT_EQ(report.categories[0].records.size(), 1u);
    EXPECT_EQ(report.hints.size(), 1u);
}

TEST_F(QueryStepTest, NumberingOfUntitledRowsContinuesAcrossSteps) {
    HardwareReport report;
    const FieldTable table = {{L"Index", L"Index"}};
    // No disk drive has this property, so every row is untitled.
    RunQueryIntoCategory(report, session, L"Laufwerke", L"SELECT * FROM Win32_DiskDrive",
                         PropertyListFor(L"Ohne", table), L"Ohne", table);
    ASSERT_EQ(report.categories.size(), 1u);
    const size_t first = report.categories[0].records.size();
    ASSERT_GE(first, 2u);
    for (size_t i = 0; i < first; ++i) {
        EXPECT_EQ(report.categories[0].records[i].title, L"Laufwerke " + std::to_wstring(i + 1));
    }

    RunQueryIntoCategory(report, session, L"Laufwerke", L"SELECT * FROM Win32_OperatingSystem", {L"Ohne"}, L"Ohne",
                         table);
    ASSERT_EQ(report.categories.size(), 1u);
    ASSERT_EQ(report.categories[0].records.size(), first + 1);
    EXPECT_EQ(report.categories[0].records.back().title, L"Laufwerke " + std::to_wstring(first + 1));
    EXPECT_TRUE(report.hints.empty());
}

TEST_F(QueryStepTest, TitledRowsCountTowardsTheNumbering) {
    HardwareReport report;
    report.categories.push_back({L"Andere", {}});
    const FieldTable table = {{L"Name", L"Caption"}};
    RunQueryIntoCategory(report, session, L"System", L"SELECT * FROM Win32_OperatingSystem", {L"Caption"},
                         L"Caption", table);
    // Wine leaves IdentificationCode NULL: an empty title gets the number.
    RunQueryIntoCategory(report, session, L"System", L"SELECT * FROM Win32_BIOS", {L"IdentificationCode"},
                         L"IdentificationCode", table);
    ASSERT_EQ(report.categories.size(), 2u);
    const ReportCategory& system = report.categories[1];
    ASSERT_EQ(system.records.size(), 2u);
    EXPECT_NE(system.records[0].title, L"System 1");
    EXPECT_FALSE(system.records[0].title.empty());
    EXPECT_EQ(system.records[1].title, L"System 2");
}

TEST_F(QueryStepTest, RecordsCarryTheTableLabelsInOrderAndTheTitleAgain) {
    HardwareReport report;
    const FieldTable table = {{L"Betriebssystem", L"Caption"},
                              {L"Version", L"Version"},
                              {L"Fehlt", L"NoSuchProperty"},
                              {L"Version", L"Version"}};
    RunQueryIntoCategory(report, session, L"Windows", L"SELECT * FROM Win32_OperatingSystem",
                         PropertyListFor(L"Caption", table), L"Caption", table);
    ASSERT_EQ(report.categories.size(), 1u);
    ASSERT_EQ(report.categories[0].records.size(), 1u);
    const ReportRecord& record = report.categories[0].records[0];
    EXPECT_EQ(LabelsOf(record), (std::vector<std::wstring>{L"Betriebssystem", L"Version", L"Fehlt", L"Version"}));
    EXPECT_FALSE(record.title.empty());
    EXPECT_EQ(record.fields[0].second, record.title);
    EXPECT_NE(record.fields[1].second, L"Nicht gemeldet");
    EXPECT_EQ(record.fields[2].second, L"Nicht gemeldet");
    EXPECT_EQ(record.fields[3].second, record.fields[1].second);
}

TEST_F(QueryStepTest, ReadsOnlyTheGivenPropertyList) {
    HardwareReport report;
    const FieldTable table = {{L"Version", L"Version"}};
    RunQueryIntoCategory(report, session, L"Windows", L"SELECT * FROM Win32_OperatingSystem", {L"Caption"},
                         L"Caption", table);
    ASSERT_EQ(report.categories[0].records.size(), 1u);
    EXPECT_EQ(report.categories[0].records[0].fields,
              (std::vector<ReportField>{{L"Version", L"Nicht gemeldet"}}));
}
