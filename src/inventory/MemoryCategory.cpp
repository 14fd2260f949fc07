#include "inventory/MemoryCategory.h"

#include "inventory/Formatters.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <string>

namespace {

constexpr wchar_t kMemoryCategory[] = L"Arbeitsspeicher";

constexpr FieldLiteral kPhysicalMemoryFields[] = {
    {L"Bank", L"BankLabel"},
    {L"Hersteller", L"Manufacturer"},
    {L"Teilenummer", L"PartNumber"},
    {L"Seriennummer", L"SerialNumber"},
    {L"Kapazität", L"Capacity"},
    {L"Nenntakt", L"Speed"},
    {L"Konfigurierter Takt", L"ConfiguredClockSpeed"},
    {L"Konfigurierte Spannung (mV)", L"ConfiguredVoltage"},
    {L"Minimale Spannung (mV)", L"MinVoltage"},
    {L"Maximale Spannung (mV)", L"MaxVoltage"},
    {L"Speichertyp", L"SMBIOSMemoryType"},
    {L"Formfaktor (SMBIOS-Code)", L"FormFactor"},
    {L"Datenbreite (Bit)", L"DataWidth"},
    {L"Gesamtbreite inkl. ECC (Bit)", L"TotalWidth"},
    {L"Position in Reihe", L"PositionInRow"},
    {L"Interleave-Position", L"InterleavePosition"},
    {L"Typdetails (Bitmaske)", L"TypeDetail"},
};

constexpr QueryLiteral kPhysicalMemoryQuery{L"SELECT * FROM Win32_PhysicalMemory", kMemoryCategory, L"DeviceLocator",
                                            kPhysicalMemoryFields};

constexpr wchar_t kMemoryArrayQuery[] = L"SELECT * FROM Win32_PhysicalMemoryArray";
constexpr const wchar_t* kMemoryArrayProperties[] = {
    L"Name", L"Location", L"Use", L"MemoryDevices", L"MaxCapacity", L"MaxCapacityEx", L"MemoryErrorCorrection",
};

// Every formatter leaves "Nicht gemeldet" as it is, so the rules can run over every value.
constexpr ValueRule kMemoryValueRules[] = {
    {LabelMatch::Exact, L"Kapazität", FormatBytes},
    {LabelMatch::Exact, L"Nenntakt", FormatMhz},
    {LabelMatch::Exact, L"Konfigurierter Takt", FormatMhz},
    {LabelMatch::Exact, L"Speichertyp", MemoryTypeName},
};

constexpr uint64_t kUInt64Max = std::numeric_limits<uint64_t>::max();

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
    return b > kUInt64Max - a ? kUInt64Max : a + b;
}

// Counts are shown as signed 32-bit numbers; absurd ones from broken sources stop at the largest.
int32_t ClampCount(uint64_t count) {
    return static_cast<int32_t>(std::min<uint64_t>(count, std::numeric_limits<int32_t>::max()));
}

std::wstring CountOrNotReported(int32_t count) {
    return count > 0 ? std::to_wstring(count) : std::wstring(kNotReported);
}

std::wstring BytesOrNotReported(uint64_t bytes) {
    return bytes > 0 ? FormatBytes(std::to_wstring(bytes)) : std::wstring(kNotReported);
}

std::wstring BuildModuleSummary(const ReportCategory& memory) {
    std::wstring summary;
    for (const ReportRecord& record : memory.records) {
        if (!IsOccupiedSlot(record)) {
            continue;
        }
        if (!summary.empty()) {
            summary.append(L"; ");
        }
        summary.append(record.title).append(L": ").append(GetFieldValue(record, L"Kapazität"));
        summary.append(L", ").append(GetFieldValue(record, L"Speichertyp"));
        summary.append(L", ").append(GetFieldValue(record, L"Konfigurierter Takt"));
    }
    return summary;
}

} // namespace

void CollectMemoryAndSlotOverview(ScanContext& scan) {
    RunQueryLiteral(scan.report, scan.wmi, kPhysicalMemoryQuery);
    ConvertMemoryValues(FindOrAddCategory(scan.report.categories, kMemoryCategory));
    const MemorySummary smbiosBanks = CollectMemoryModulesSmbios(scan.report);
    // A failed array query is as good as no arrays: the overview says "Nicht gemeldet".
    const std::vector<std::wstring> arrayProperties(std::begin(kMemoryArrayProperties), std::end(kMemoryArrayProperties));
    const MemoryArrayTotals arrays = SumMemoryArrays(scan.wmi.Query(kMemoryArrayQuery, arrayProperties));
    InsertSlotOverview(FindOrAddCategory(scan.report.categories, kMemoryCategory), smbiosBanks, arrays);
}

void ConvertMemoryValues(ReportCategory& memory) {
    for (ReportRecord& record : memory.records) {
        record.title = TrimWhitespace(std::move(record.title));
        for (ReportField& field : record.fields) {
            field.second = TrimWhitespace(std::move(field.second));
        }
    }
    ApplyValueRules(memory, kMemoryValueRules);
}

bool IsOccupiedSlot(const ReportRecord& record) {
    return GetFieldValue(record, L"Bankstatus") != L"Frei";
}

MemoryArrayTotals SumMemoryArrays(const std::vector<WmiRow>& rows) {
    MemoryArrayTotals totals;
    for (const WmiRow& row : rows) {
        totals.memoryDevices = SaturatingAdd(totals.memoryDevices, ParseUInt(GetRowValue(row, L"MemoryDevices", L"0")));
        totals.maxCapacityKiB = SaturatingAdd(totals.maxCapacityKiB, ParseUInt(GetRowValue(row, L"MaxCapacityEx", L"0")));
    }
    return totals;
}

void InsertSlotOverview(ReportCategory& memory, const MemorySummary& smbiosBanks, const MemoryArrayTotals& arrays) {
    const auto occupied = std::count_if(memory.records.begin(), memory.records.end(), IsOccupiedSlot);
    const int32_t total = ClampCount(smbiosBanks.found ? smbiosBanks.slotCount : arrays.memoryDevices);
    const int32_t used = ClampCount(smbiosBanks.found ? smbiosBanks.populatedCount : static_cast<uint64_t>(occupied));
    const uint64_t maxCapacityBytes =
        arrays.maxCapacityKiB > kUInt64Max / 1024 ? kUInt64Max : arrays.maxCapacityKiB * 1024;
    const std::wstring moduleSummary = BuildModuleSummary(memory);

    ReportRecord slotOverview{L"RAM-Steckplatzübersicht", {}};
    slotOverview.fields = {
        {L"Erkennungsquelle", smbiosBanks.found ? L"SMBIOS Typ 17 – jede vom Firmwarecontroller gemeldete Bank geprüft"
                                                : L"WMI Win32_PhysicalMemoryArray"},
        {L"RAM-Steckplätze gesamt", CountOrNotReported(total)},
        {L"Steckplätze belegt", std::to_wstring(used)},
        {L"Steckplätze frei", total > 0 ? std::to_wstring(std::max(total - used, 0)) : std::wstring(kNotReported)},
        {L"Von SMBIOS bestätigte installierte Kapazität", BytesOrNotReported(smbiosBanks.totalBytes)},
        {L"Maximal unterstützte Kapazität", BytesOrNotReported(maxCapacityBytes)},
        {L"Bestückung", moduleSummary.empty() ? std::wstring(L"Keine Module gemeldet") : moduleSummary},
    };
    memory.records.insert(memory.records.begin(), std::move(slotOverview));
}
