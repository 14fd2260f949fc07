#pragma once

// The in-memory report of one scan and the record operations every collector shares.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The value of anything the platform did not report.
inline constexpr wchar_t kNotReported[] = L"Nicht gemeldet";

using ReportField = std::pair<std::wstring, std::wstring>;  // (label, value)

struct LoadSnapshot {
    int32_t cpuPercent = -1;
    int32_t memoryPercent = -1;
    int32_t diskPercent = -1;
    int32_t gpuPercent = -1;
};

struct ReportRecord {
    std::wstring title;
    std::vector<ReportField> fields;
};

struct ReportCategory {
    std::wstring name;
    std::vector<ReportRecord> records;
};

struct HardwareReport {
    std::vector<ReportCategory> categories;
    std::vector<std::wstring> hints;
    std::wstring created;
    LoadSnapshot load;

    HardwareReport() = default;
    HardwareReport(HardwareReport&&) = default;
    HardwareReport& operator=(HardwareReport&&) = default;
    // A report is handed on, never duplicated.
    HardwareReport(const HardwareReport&) = delete;
    HardwareReport& operator=(const HardwareReport&) = delete;
};

// The returned reference is valid until the list changes next.
ReportCategory& FindOrAddCategory(std::vector<ReportCategory>& categories, const std::wstring& name);

void SetField(ReportRecord& record, const std::wstring& label, const std::wstring& value);
std::wstring GetFieldValue(const ReportRecord& record, const std::wstring& label);
bool IsUnknownValue(const std::wstring& value);
// The letters and digits of the text, lower-cased; blanks, punctuation and symbols are dropped.
std::wstring LowerLettersAndDigits(const std::wstring& text);
std::wstring NormalizeIdentifier(const std::wstring& text);
std::wstring TrimWhitespace(std::wstring text);
uint64_t ParseUInt(const std::wstring& text);

// Case folds A to Z only, so the answer does not depend on the runtime's locale.
bool ContainsNoCase(const std::wstring& text, const std::wstring& needle);
