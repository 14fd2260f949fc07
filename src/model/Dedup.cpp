#include "model/Dedup.h"

namespace {

constexpr size_t kMinIdentityLength = 4;
constexpr size_t kMinTitleLength = 5;

} // namespace

bool RecordsDescribeSameDevice(const ReportRecord& a, const ReportRecord& b) {
    for (const wchar_t* label : kIdentityLabels) {
        const std::wstring valueA = GetFieldValue(a, label);
        const std::wstring valueB = GetFieldValue(b, label);
        if (IsUnknownValue(valueA) || IsUnknownValue(valueB)) {
            continue;
        }
        const std::wstring idA = NormalizeIdentifier(valueA);
        const std::wstring idB = NormalizeIdentifier(valueB);
        if (idA.size() >= kMinIdentityLength && idB.size() >= kMinIdentityLength) {
            return idA == idB;
        }
    }
    const std::wstring titleA = NormalizeIdentifier(a.title);
    const std::wstring titleB = NormalizeIdentifier(b.title);
    if (titleA.size() < kMinTitleLength || titleB.size() < kMinTitleLength) {
        return false;
    }
    return titleA.find(titleB) != std::wstring::npos || titleB.find(titleA) != std::wstring::npos;
}

void DeduplicateRecords(ReportCategory& category) {
    std::vector<ReportRecord> kept;
    kept.reserve(category.records.size());
    for (const ReportRecord& record : category.records) {
        ReportRecord* same = nullptr;
        for (ReportRecord& candidate : kept) {
            if (RecordsDescribeSameDevice(candidate, record)) {
                same = &candidate;
                break;
            }
        }
        if (!same) {
            kept.push_back(record);
            continue;
        }
        if (record.title.size() > same->title.size()) {
            same->title = record.title;
        }
        for (const ReportField& field : record.fields) {
            SetField(*same, field.first, field.second);
        }
    }
    category.records = std::move(kept);
}
