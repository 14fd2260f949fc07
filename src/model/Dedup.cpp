#include "model/Dedup.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace {

constexpr size_t kMinIdentityLength = 4;
constexpr size_t kMinTitleLength = 5;

// The normalised forms of the collector's own fallback titles, "Monitor (EDID)" and "Aktiver Monitor".
constexpr const wchar_t* kFallbackMonitorKeys[] = {L"monitoredid", L"aktivermonitor"};
// Windows calls a monitor it cannot name a generic, standard or non-PnP monitor, in English or German.
constexpr const wchar_t* kPlaceholderWords[] = {L"generic", L"generisch", L"allgemein", L"standard", L"nicht", L"non"};

// A longer title usually names the device more fully, but a placeholder never replaces a real name.
bool TakesTitle(const std::wstring& candidate, const std::wstring& kept) {
    const bool candidateIsPlaceholder = IsGenericMonitorName(candidate);
    if (candidateIsPlaceholder != IsGenericMonitorName(kept)) {
        return !candidateIsPlaceholder;
    }
    return candidate.size() > kept.size();
}

std::wstring LettersAndDigitsLowered(const std::wstring& text) {
    std::wstring key;
    key.reserve(text.size());
    for (wchar_t c : text) {
        if (std::iswalnum(static_cast<wint_t>(c))) {
            key.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
        }
    }
    return key;
}

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
        if (TakesTitle(record.title, same->title)) {
            same->title = record.title;
        }
        for (const ReportField& field : record.fields) {
            SetField(*same, field.first, field.second);
        }
    }
    category.records = std::move(kept);
}

bool IsGenericMonitorName(const std::wstring& title) {
    const std::wstring key = LettersAndDigitsLowered(title);
    if (key.empty() || std::find(std::begin(kFallbackMonitorKeys), std::end(kFallbackMonitorKeys), key) !=
                           std::end(kFallbackMonitorKeys)) {
        return true;
    }
    return key.find(L"pnpmonitor") != std::wstring::npos &&
           std::any_of(std::begin(kPlaceholderWords), std::end(kPlaceholderWords),
                       [&](const wchar_t* word) { return key.find(word) != std::wstring::npos; });
}
