#include "inventory/MemoryCategory.h"

#include "wmi/ComApartment.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr wchar_t k8GiB[] = L"8.00 GiB (8589934592 Byte)";
constexpr wchar_t k16GiB[] = L"16.00 GiB (17179869184 Byte)";

ReportRecord Module(const std::wstring& title, const std::wstring& capacity, const std::wstring& type,
                    const std::wstring& clock) {
    return ReportRecord{title, {{L"Kapazität", capacity}, {L"Speichertyp", type}, {L"Konfigurierter Takt", clock}}};
}

ReportRecord Slot(const std::wstring& title, const std::wstring& status) {
    return ReportRecord{title, {{L"Bankstatus", status}}};
}

std::vector<std::wstring> Titles(const ReportCategory& category) {
    std::vector<std::wstring> titles;
    for (const ReportRecord& record : category.records) {
        titles.push_back(record.title);
    }
    return titles;
}

MemorySummary SmbiosSlots(uint32_t slots, uint32_t populated, uint64_t bytes) {
    MemorySummary summary;
    summary.slotCount = slots;
    summary.populatedCount = populated;
    summary.totalBytes = bytes;
    summary.found = true;
    return summary;
}

// The overview's values by label, in its order.
std::vector<std::wstring> OverviewValues(const ReportCategory& memory) {
    std::vector<std::wstring> values;
    for (const ReportField& field : memory.records.at(0).fields) {
        values.push_back(field.second);
    }
    return values;
}

// A small raw SMBIOS table: four slots, modules in banks 0 and 2 (16 GiB DDR4 at 3200 each).
std::vector<uint8_t> FourSlotTable() {
    std::vector<uint8_t> table(8, 0);
    auto device = [&table](uint16_t size, uint8_t locatorIndex) {
        std::vector<uint8_t> formatted(0x22, 0);
        formatted[0] = 17;
        formatted[1] = 0x22;
        formatted[0x08] = formatted[0x0A] = 64;
        formatted[0x0C] = static_cast<uint8_t>(size);
        formatted[0x0D] = static_cast<uint8_t>(size >> 8);
        formatted[0x10] = locatorIndex;
        formatted[0x12] = 26;
        formatted[0x15] = formatted[0x20] = 0x80;  // 3200 = 0x0C80
        formatted[0x16] = formatted[0x21] = 0x0C;
        table.insert(table.end(), formatted.begin(), formatted.end());
        for (const char* text : {"DIMM_A1", "DIMM_A2", "DIMM_B1", "DIMM_B2"}) {
            table.insert(table.end(), text, text + std::char_traits<char>::length(text) + 1);
        }
        table.push_back(0);
    };
    device(0x4000, 1);
    device(0, 2);
    device(0x4000, 3);
    device(0, 4);
    const uint32_t length = static_cast<uint32_t>(table.size() - 8);
    for (int i = 0; i < 4; ++i) {
        table[4 + i] = static_cast<uint8_t>(length >> (8 * i));
    }
    return table;
}

} // namespace

TEST(ConvertMemoryValues, TrimsAndFormatsCapacityClocksAndTypeOnly) {
    ReportCategory memory{L"Arbeitsspeicher",
                          {ReportRecord{L"  DIMM 0 ",
                                        {{L"Bank", L" BANK 0 "},
                                         {L"Kapazität", L"17179869184 "},
                                         {L"Nenntakt", L"3200"},
                                         {L"Konfigurierter Takt", L"Nicht gemeldet"},
                                         {L"Speichertyp", L" 26"},
                                         {L"Formfaktor (SMBIOS-Code)", L"8"},
                                         {L"Typdetails (Bitmaske)", L"128"},
                                         {L"Datenbreite (Bit)", L"64"}}},
                           ReportRecord{L"DIMM 1", {{L"Speichertyp", L"0"}, {L"Kapazität", L"Nicht gemeldet"}}}}};
    ConvertMemoryValues(memory);
    const std::vector<ReportField> first = {
        {L"Bank", L"BANK 0"},
        {L"Kapazität", k16GiB},
        {L"Nenntakt", L"3200 MHz"},
        {L"Konfigurierter Takt", L"Nicht gemeldet"},
        {L"Speichertyp", L"DDR4"},
        {L"Formfaktor (SMBIOS-Code)", L"8"},
        {L"Typdetails (Bitmaske)", L"128"},
        {L"Datenbreite (Bit)", L"64"},
    };
    EXPECT_EQ(memory.records[0].title, L"DIMM 0");
    EXPECT_EQ(memory.records[0].fields, first);
    EXPECT_EQ(memory.records[1].fields,
              (std::vector<ReportField>{{L"Speichertyp", L"Nicht gemeldet"}, {L"Kapazität", L"Nicht gemeldet"}}));
}

TEST(IsOccupiedSlot, OnlyAFreeBankIsUnoccupied) {
    EXPECT_TRUE(IsOccupiedSlot(ReportRecord{L"DIMM 0", {}}));
    EXPECT_TRUE(IsOccupiedSlot(Slot(L"BANK 0 – Belegt", L"Belegt")));
    EXPECT_FALSE(IsOccupiedSlot(Slot(L"BANK 1 – Frei", L"Frei")));
    EXPECT_TRUE(IsOccupiedSlot(Slot(L"X", L"frei")));
}

TEST(SumMemoryArrays, AddsDevicesAndCapacityAndReadsGarbageAsZero) {
    const std::vector<WmiRow> rows = {
        {{L"MemoryDevices", L"4"}, {L"MaxCapacityEx", L"134217728"}, {L"MaxCapacity", L"999"}},
        {{L"MemoryDevices", L"vier"}, {L"MaxCapacityEx", L""}},
        {{L"MemoryDevices", L"2"}},
    };
    const MemoryArrayTotals totals = SumMemoryArrays(rows);
    EXPECT_EQ(totals.memoryDevices, 6u);
    EXPECT_EQ(totals.maxCapacityKiB, 134217728u);
    const MemoryArrayTotals none = SumMemoryArrays({});
    EXPECT_EQ(none.memoryDevices, 0u);
    EXPECT_EQ(none.maxCapacityKiB, 0u);
}

TEST(SumMemoryArrays, StopsAtTheLargestNumberInsteadOfWrapping) {
    const std::vector<WmiRow> rows(2, WmiRow{{L"MemoryDevices", L"18446744073709551615"},
                                             {L"MaxCapacityEx", L"18446744073709551615"}});
    const MemoryArrayTotals totals = SumMemoryArrays(rows);
    EXPECT_EQ(totals.memoryDevices, std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(totals.maxCapacityKiB, std::numeric_limits<uint64_t>::max());
}

TEST(InsertSlotOverview, FirmwareSlotsJoinTheWmiModulesAndTheOverviewComesFirst) {
    HardwareReport report;
    report.categories.push_back(
        ReportCategory{L"Arbeitsspeicher", {Module(L"DIMM_A1", k16GiB, L"DDR4", L"3200 MHz"),
                                            Module(L"DIMM_B1", k16GiB, L"DDR4", L"3200 MHz")}});
    const MemorySummary smbiosBanks = CollectMemoryModulesFromTable(report, FourSlotTable());
    MemoryArrayTotals arrays;
    arrays.memoryDevices = 2;  // the firmware's slot count wins
    ReportCategory& memory = report.categories[0];
    InsertSlotOverview(memory, smbiosBanks, arrays);

    EXPECT_EQ(Titles(memory), (std::vector<std::wstring>{L"RAM-Steckplatzübersicht", L"BANK 0 – Belegt",
                                                         L"BANK 2 – Belegt", L"BANK 1 – Frei", L"BANK 3 – Frei"}));
    const std::vector<ReportField> expected = {
        {L"Erkennungsquelle", L"SMBIOS Typ 17 – jede vom Firmwarecontroller gemeldete Bank geprüft"},
        {L"RAM-Steckplätze gesamt", L"4"},
        {L"Steckplätze belegt", L"2"},
        {L"Steckplätze frei", L"2"},
        {L"Von SMBIOS bestätigte installierte Kapazität", L"32.00 GiB (34359738368 Byte)"},
        {L"Maximal unterstützte Kapazität", L"Nicht gemeldet"},
        {L"Bestückung", std::wstring(L"BANK 0 – Belegt: ") + k16GiB + L", DDR4, 3200 MHz; BANK 2 – Belegt: " +
                            k16GiB + L", DDR4, 3200 MHz"},
    };
    EXPECT_EQ(memory.records[0].fields, expected);
}

TEST(InsertSlotOverview, WithoutFirmwareSlotsCountsWmiModulesAgainstTheMemoryArrays) {
    ReportCategory memory{L"Arbeitsspeicher",
                          {Module(L"DIMM 0", k8GiB, L"DDR4", L"2666 MHz"), Module(L"DIMM 1", k8GiB, L"DDR4", L"2666 MHz")}};
    MemoryArrayTotals arrays;
    arrays.memoryDevices = 4;
    arrays.maxCapacityKiB = 134217728;
    InsertSlotOverview(memory, MemorySummary{}, arrays);
    const std::vector<std::wstring> expected = {
        L"WMI Win32_PhysicalMemoryArray",
        L"4",
        L"2",
        L"2",
        L"Nicht gemeldet",
        L"128.00 GiB (137438953472 Byte)",
        std::wstring(L"DIMM 0: ") + k8GiB + L", DDR4, 2666 MHz; DIMM 1: " + k8GiB + L", DDR4, 2666 MHz",
    };
    EXPECT_EQ(OverviewValues(memory), expected);
    EXPECT_EQ(memory.records.size(), 3u);
}

TEST(InsertSlotOverview, WithoutAnySlotCountTheTotalAndFreeAreNotReported) {
    ReportCategory memory{L"Arbeitsspeicher", {Module(L"DIMM 0", k8GiB, L"DDR4", L""), ReportRecord{L"DIMM 1", {}}}};
    InsertSlotOverview(memory, MemorySummary{}, MemoryArrayTotals{});
    const std::vector<std::wstring> expected = {
        L"WMI Win32_PhysicalMemoryArray",
        L"Nicht gemeldet",
        L"2",
        L"Nicht gemeldet",
        L"Nicht gemeldet",
        L"Nicht gemeldet",
        // Missing values stay empty rather than vanishing from the list.
        std::wstring(L"DIMM 0: ") + k8GiB + L", DDR4, ; DIMM 1: , , ",
    };
    EXPECT_EQ(OverviewValues(memory), expected);
}

TEST(InsertSlotOverview, MoreModulesThanSlotsLeaveNoneFree) {
    ReportCategory memory{L"Arbeitsspeicher", {ReportRecord{L"A", {}}, ReportRecord{L"B", {}}, ReportRecord{L"C", {}}}};
    MemoryArrayTotals arrays;
    arrays.memoryDevices = 2;
    InsertSlotOverview(memory, MemorySummary{}, arrays);
    EXPECT_EQ(GetFieldValue(memory.records[0], L"RAM-Steckplätze gesamt"), L"2");
    EXPECT_EQ(GetFieldValue(memory.records[0], L"Steckplätze belegt"), L"3");
    EXPECT_EQ(GetFieldValue(memory.records[0], L"Steckplätze frei"), L"0");
}

TEST(InsertSlotOverview, OnlyFreeSlotsListNoModules) {
    ReportCategory memory{L"Arbeitsspeicher", {Slot(L"BANK 0 – Frei", L"Frei"), Slot(L"BANK 1 – Frei", L"Frei")}};
    InsertSlotOverview(memory, SmbiosSlots(2, 0, 0), MemoryArrayTotals{});
    const std::vector<std::wstring> values = OverviewValues(memory);
    ASSERT_EQ(values.size(), 7u);
    EXPECT_EQ(values[1], L"2");
    EXPECT_EQ(values[2], L"0");
    EXPECT_EQ(values[3], L"2");
    EXPECT_EQ(values[4], L"Nicht gemeldet");
    EXPECT_EQ(values[6], L"Keine Module gemeldet");
}

TEST(InsertSlotOverview, ComesFirstEvenInAnEmptyCategory) {
    ReportCategory memory{L"Arbeitsspeicher", {}};
    InsertSlotOverview(memory, MemorySummary{}, MemoryArrayTotals{});
    ASSERT_EQ(memory.records.size(), 1u);
    EXPECT_EQ(memory.records[0].title, L"RAM-Steckplatzübersicht");
    EXPECT_EQ(GetFieldValue(memory.records[0], L"Steckplätze belegt"), L"0");
    EXPECT_EQ(GetFieldValue(memory.records[0], L"Bestückung"), L"Keine Module gemeldet");
}

TEST(InsertSlotOverview, AbsurdCountsStayPositiveAndCapacitiesDoNotWrap) {
    ReportCategory memory{L"Arbeitsspeicher", {}};
    MemoryArrayTotals arrays;
    arrays.memoryDevices = 4294967300u;  // would read 4 as a 32-bit number
    arrays.maxCapacityKiB = std::numeric_limits<uint64_t>::max() / 512;
    InsertSlotOverview(memory, MemorySummary{}, arrays);
    EXPECT_EQ(GetFieldValue(memory.records[0], L"RAM-Steckplätze gesamt"), L"2147483647");
    EXPECT_EQ(GetFieldValue(memory.records[0], L"Maximal unterstützte Kapazität"),
              L"16384.00 PiB (18446744073709551615 Byte)");

    ReportCategory firmware{L"Arbeitsspeicher", {}};
    InsertSlotOverview(firmware, SmbiosSlots(3000000000u, 1, 1024), MemoryArrayTotals{});
    EXPECT_EQ(GetFieldValue(firmware.records[0], L"RAM-Steckplätze gesamt"), L"2147483647");
    EXPECT_EQ(GetFieldValue(firmware.records[0], L"Steckplätze frei"), L"2147483646");
}

TEST(CollectMemoryAndSlotOverview, BuildsTheOverviewFromThePlatformsModules) {
    ComApartment com;
    ASSERT_TRUE(SUCCEEDED(com.Result()));
    WmiSession wmi(L"ROOT\\CIMV2");
    ASSERT_TRUE(wmi.IsConnected());
    HardwareReport report;
    ScanContext scan{report, wmi};
    CollectMemoryAndSlotOverview(scan);

    ASSERT_EQ(report.categories.size(), 1u);
    const ReportCategory& memory = report.categories[0];
    EXPECT_EQ(memory.name, L"Arbeitsspeicher");
    ASSERT_GE(memory.records.size(), 2u) << "the overview and at least one module";
    const ReportRecord& overview = memory.records[0];
    EXPECT_EQ(overview.title, L"RAM-Steckplatzübersicht");
    ASSERT_EQ(overview.fields.size(), 7u);
    const ReportRecord& module = memory.records[1];
    EXPECT_GE(module.fields.size(), 17u);
    const std::wstring capacity = GetFieldValue(module, L"Kapazität");
    EXPECT_NE(capacity.find(L" Byte)"), std::wstring::npos) << testing::PrintToString(capacity);
    EXPECT_NE(GetFieldValue(overview, L"Bestückung").find(module.title + L": " + capacity), std::wstring::npos);
    if (GetFieldValue(overview, L"Erkennungsquelle") == L"WMI Win32_PhysicalMemoryArray") {
        // No firmware slots: every WMI module counts as fitted.
        EXPECT_EQ(GetFieldValue(overview, L"Steckplätze belegt"), std::to_wstring(memory.records.size() - 1));
        EXPECT_EQ(GetFieldValue(overview, L"Von SMBIOS bestätigte installierte Kapazität"), L"Nicht gemeldet");
    }
    EXPECT_TRUE(report.hints.empty());
}
