#include "inventory/ScanPasses.h"

#include "inventory/Formatters.h"
#include "knowledge/KnowledgeBase.h"
#include "model/Dedup.h"

#include <algorithm>
#include <string>

namespace {

// Memory keeps its slot overview beside the per-bank records. Every cache row of
// Win32_CacheMemory is called "Cache Memory", and the processors of a multi-socket machine
// share one name, so merging "Prozessor" would fold distinct devices into one record. Consumer
// firmware gives board and BIOS one placeholder serial ("Default string", "To be filled by
// O.E.M."), which would fold the BIOS into the board.
constexpr const wchar_t* kCategoriesNeverMerged[] = {L"Arbeitsspeicher", L"Prozessor", L"Mainboard & BIOS"};

// Both formatters leave a converted value unchanged, so running the pass twice changes nothing.
constexpr ValueRule kFinalValueRules[] = {
    {LabelMatch::Contains, L"datum", FormatCimDate},
    {LabelMatch::Contains, L"Datum", FormatCimDate},
    {LabelMatch::Exact, L"Installiert am", FormatCimDate},
    {LabelMatch::Exact, L"Letzter Systemstart", FormatCimDate},
    {LabelMatch::Exact, L"Signiert", FormatBoolean},
    {LabelMatch::Exact, L"Aktiviert", FormatBoolean},
    {LabelMatch::Exact, L"Eingeschaltet", FormatBoolean},
    {LabelMatch::Exact, L"Besitz übernommen", FormatBoolean},
    {LabelMatch::Exact, L"DHCP", FormatBoolean},
    {LabelMatch::Exact, L"Startpartition", FormatBoolean},
    {LabelMatch::Exact, L"Primärpartition", FormatBoolean},
};

std::wstring PercentText(int32_t percent) {
    return percent < 0 ? std::wstring(kNotReported) : std::to_wstring(percent) + L" %";
}

bool IsMerged(const ReportCategory& category) {
    return std::none_of(std::begin(kCategoriesNeverMerged), std::end(kCategoriesNeverMerged),
                        [&](const wchar_t* name) { return category.name == name; });
}

// A value that trims to nothing was never reported; shown empty, it would read as a lost line.
void NormaliseRecord(ReportRecord& record) {
    record.title = TrimWhitespace(std::move(record.title));
    for (ReportField& field : record.fields) {
        field.second = TrimmedOrNotReported(field.second);
    }
    ApplyValueRules(record, kFinalValueRules);
}

} // namespace

ReportCategory BuildLoadCategory(const LoadSnapshot& load) {
    ReportRecord record{kLoadRecordTitle, {}};
    record.fields = {
        {L"CPU-Auslastung", PercentText(load.cpuPercent)},
        {L"Arbeitsspeicher-Auslastung", PercentText(load.memoryPercent)},
        {L"Datenträger-Auslastung", PercentText(load.diskPercent)},
        {L"GPU-Auslastung (höchste Engine)", PercentText(load.gpuPercent)},
    };
    return ReportCategory{kLoadCategoryName, {std::move(record)}};
}

void RunFinalPass(std::vector<ReportCategory>& categories) {
    for (ReportCategory& category : categories) {
        if (IsMerged(category)) {
            DeduplicateRecords(category);
        }
    }
    // The knowledge base reads the merged records and its additions are trimmed with the rest.
    ApplyKnowledgeBase(categories);
    for (ReportCategory& category : categories) {
        for (ReportRecord& record : category.records) {
            NormaliseRecord(record);
        }
    }
    std::erase_if(categories, [](const ReportCategory& category) { return category.records.empty(); });
}
