#include "model/Dedup.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

constexpr size_t kMinIdentityLength = 4;
constexpr size_t kMinTitleLength = 5;

// Every connected monitor is one device instance under DISPLAY\, and its three records name it
// alike: the PnP id (DISPLAY\DEL4240\5&2B7F0E5B&0&UID4352), the display path's device path
// (\\?\DISPLAY#DEL4240#5&2b7f0e5b&0&UID4352#{e6f07b5f-…}) and the EDID rows' instance name
// (DISPLAY\DEL4240\5&2b7f0e5b&0&UID4352_0). The hardware id names only the model, so two monitors
// of one model differ here and nowhere else.
constexpr const wchar_t* kMonitorInstanceLabels[] = {L"PnP-Geräte-ID", L"Monitor-Gerätepfad", L"EDID-Instanz"};
constexpr std::wstring_view kDevicePathPrefix = L"\\\\?\\";
constexpr std::wstring_view kDisplayPrefix = L"DISPLAY\\";

// The normalised forms of the collector's own fallback titles, "Monitor (EDID)" and "Aktiver Monitor".
constexpr const wchar_t* kFallbackMonitorKeys[] = {L"monitoredid", L"aktivermonitor"};
// Windows calls a monitor it cannot name a generic, standard or non-PnP monitor, in English or German.
constexpr const wchar_t* kPlaceholderWords[] = {L"generic", L"generisch", L"allgemein", L"standard", L"nicht", L"non"};

bool IsAsciiDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Case is folded for A to Z only: device ids are ASCII, and the answer must not follow a locale.
std::wstring UpperAscii(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return text;
}

// "DISPLAY\<hardware id>\<instance>" in upper case, or an empty text when the value names no monitor.
std::wstring MonitorInstanceOf(std::wstring value) {
    // A merged record may hold two values joined by " · "; the first one stands for the record.
    value.resize(std::min(value.size(), value.find(L" · ")));
    std::replace(value.begin(), value.end(), L'#', L'\\');
    value = UpperAscii(std::move(value));
    std::wstring_view rest = value;
    if (rest.starts_with(kDevicePathPrefix)) {
        rest.remove_prefix(kDevicePathPrefix.size());
    }
    if (!rest.starts_with(kDisplayPrefix)) {
        return {};
    }
    const size_t idEnd = rest.find(L'\\', kDisplayPrefix.size());
    if (idEnd == std::wstring_view::npos || idEnd == kDisplayPrefix.size()) {
        return {};
    }
    const size_t instanceEnd = std::min(rest.size(), rest.find(L'\\', idEnd + 1));
    if (instanceEnd == idEnd + 1) {
        return {};
    }
    std::wstring instance(rest.substr(0, instanceEnd));
    // WMI appends "_" and the index of the class instance to the device instance ("…UID4352_0").
    const size_t underscore = instance.rfind(L'_');
    if (underscore != std::wstring::npos && underscore > idEnd && underscore + 1 < instance.size() &&
        std::all_of(instance.begin() + static_cast<std::ptrdiff_t>(underscore) + 1, instance.end(), IsAsciiDigit)) {
        instance.resize(underscore);
    }
    return instance;
}

std::wstring MonitorInstance(const ReportRecord& record) {
    for (const wchar_t* label : kMonitorInstanceLabels) {
        const std::wstring value = GetFieldValue(record, label);
        if (IsUnknownValue(value)) {
            continue;
        }
        std::wstring instance = MonitorInstanceOf(value);
        if (!instance.empty()) {
            return instance;
        }
    }
    return {};
}

// The runs of digits of a title as it is written, before blanks and signs are dropped.
std::vector<std::wstring> NumbersIn(const std::wstring& title) {
    std::vector<std::wstring> numbers;
    bool inNumber = false;
    for (wchar_t c : title) {
        if (IsAsciiDigit(c)) {
            if (!inNumber) {
                numbers.emplace_back();
            }
            numbers.back().push_back(c);
        }
        inNumber = IsAsciiDigit(c);
    }
    return numbers;
}

// Normalised titles lose the blank between "Partition #1" and a following digit, so
// "Disk #0, Partition #1" lies inside "Disk #0, Partition #10". A title only counts as contained
// when its numbers stand whole, in order, among the other title's numbers.
bool NumbersStayWhole(const std::wstring& inner, const std::wstring& outer) {
    const std::vector<std::wstring> innerNumbers = NumbersIn(inner);
    const std::vector<std::wstring> outerNumbers = NumbersIn(outer);
    if (innerNumbers.empty()) {
        return true;
    }
    return std::search(outerNumbers.begin(), outerNumbers.end(), innerNumbers.begin(), innerNumbers.end()) !=
           outerNumbers.end();
}

// A longer title usually names the device more fully, but a placeholder never replaces a real name.
bool TakesTitle(const std::wstring& candidate, const std::wstring& kept) {
    const bool candidateIsPlaceholder = IsGenericMonitorName(candidate);
    if (candidateIsPlaceholder != IsGenericMonitorName(kept)) {
        return !candidateIsPlaceholder;
    }
    return candidate.size() > kept.size();
}

} // namespace

bool RecordsDescribeSameDevice(const ReportRecord& a, const ReportRecord& b) {
    const std::wstring instanceA = MonitorInstance(a);
    const std::wstring instanceB = MonitorInstance(b);
    if (!instanceA.empty() && !instanceB.empty()) {
        return instanceA == instanceB;
    }
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
    if (titleA == titleB) {
        return true;
    }
    if (titleA.find(titleB) != std::wstring::npos) {
        return NumbersStayWhole(b.title, a.title);
    }
    if (titleB.find(titleA) != std::wstring::npos) {
        return NumbersStayWhole(a.title, b.title);
    }
    return false;
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
    const std::wstring key = LowerLettersAndDigits(title);
    if (key.empty() || std::find(std::begin(kFallbackMonitorKeys), std::end(kFallbackMonitorKeys), key) !=
                           std::end(kFallbackMonitorKeys)) {
        return true;
    }
    return key.find(L"pnpmonitor") != std::wstring::npos &&
           std::any_of(std::begin(kPlaceholderWords), std::end(kPlaceholderWords),
                       [&](const wchar_t* word) { return key.find(word) != std::wstring::npos; });
}
