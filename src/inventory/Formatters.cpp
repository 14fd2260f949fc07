#include "inventory/Formatters.h"

#include "model/Report.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <iomanip>
#include <iterator>
#include <locale>
#include <sstream>

#include <windows.h>

namespace {

struct CodeName {
    const wchar_t* code;
    const wchar_t* name;
};

constexpr const wchar_t* kByteUnits[] = {L"Byte", L"KiB", L"MiB", L"GiB", L"TiB", L"PiB"};
constexpr size_t kLargestByteUnit = std::size(kByteUnits) - 1;

constexpr CodeName kArchitectures[] = {
    {L"0", L"x86"}, {L"5", L"ARM"}, {L"6", L"IA64"}, {L"9", L"x64"}, {L"12", L"ARM64"},
};

constexpr const wchar_t* kTrueTexts[] = {L"True", L"TRUE", L"1", L"-1"};
constexpr const wchar_t* kFalseTexts[] = {L"False", L"FALSE", L"0"};

bool IsOneOf(const std::wstring& text, const auto& candidates) {
    for (const wchar_t* candidate : candidates) {
        if (text == candidate) {
            return true;
        }
    }
    return false;
}

// Display numbers never follow the user's locale: a point, no grouping.
std::wstring FixedDecimals(double value, int decimals) {
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(decimals) << value;
    return out.str();
}

void AppendTwoDigits(std::wstring& text, uint64_t value) {
    text.push_back(static_cast<wchar_t>(L'0' + value / 10 % 10));
    text.push_back(static_cast<wchar_t>(L'0' + value % 10));
}

} // namespace

std::wstring FormatBytes(const std::wstring& text) {
    const uint64_t count = ParseUInt(text);
    if (count == 0) {
        return text.empty() ? std::wstring(kNotReported) : text;
    }
    double scaled = static_cast<double>(count);
    size_t unit = 0;
    while (scaled >= 1024.0 && unit < kLargestByteUnit) {
        scaled /= 1024.0;
        ++unit;
    }
    std::wstring result = FixedDecimals(scaled, unit > 0 ? 2 : 0);
    result.append(L" ").append(kByteUnits[unit]);
    result.append(L" (").append(std::to_wstring(count)).append(L" Byte)");
    return result;
}

std::wstring FormatCimDate(const std::wstring& text) {
    bool datePrefix = text.size() >= 8;
    for (size_t i = 0; datePrefix && i < 8; ++i) {
        datePrefix = IsDigitChar(text[i]);
    }
    if (!datePrefix) {
        return text.empty() ? std::wstring(kNotReported) : text;
    }
    std::wstring result;
    result.reserve(10);
    result.append(text, 6, 2).append(L".").append(text, 4, 2).append(L".").append(text, 0, 4);
    return result;
}

std::wstring FormatBoolean(const std::wstring& text) {
    if (IsOneOf(text, kTrueTexts)) {
        return L"Ja";
    }
    if (IsOneOf(text, kFalseTexts)) {
        return L"Nein";
    }
    return text.empty() ? std::wstring(kNotReported) : text;
}

std::wstring FormatTemperature(const std::wstring& text) {
    if (text.empty()) {
        return kNotReported;
    }
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const double tenthsKelvin = std::wcstod(begin, &end);
    if (end == begin || errno == ERANGE) {
        return kNotReported;
    }
    const double celsius = tenthsKelvin / 10.0 - 273.15;
    // Written so that NaN and infinities fail the test: a sensor that reports "nan" or "inf"
    // is implausible, not a temperature.
    if (celsius >= -100.0 && celsius <= 250.0) {
        return FixedDecimals(celsius, 1) + L" °C";
    }
    return L"Nicht plausibel: " + text;
}

std::wstring FormatMhz(const std::wstring& text) {
    if (text.empty() || text == kNotReported) {
        return kNotReported;
    }
    return text + L" MHz";
}

std::wstring FormatArchitecture(const std::wstring& text) {
    for (const CodeName& entry : kArchitectures) {
        if (text == entry.code) {
            return entry.name;
        }
    }
    return text.empty() ? std::wstring(kNotReported) : text;
}

std::wstring TrimmedOrNotReported(const std::wstring& text) {
    std::wstring trimmed = TrimWhitespace(text);
    return trimmed.empty() ? std::wstring(kNotReported) : trimmed;
}

std::wstring FormatUptime() {
    return FormatDuration(GetTickCount64() / 1000);
}

std::wstring FormatDuration(uint64_t seconds) {
    std::wstring result = std::to_wstring(seconds / 86400);
    result.append(L" Tage, ");
    AppendTwoDigits(result, seconds / 3600 % 24);
    result.push_back(L':');
    AppendTwoDigits(result, seconds / 60 % 60);
    result.push_back(L':');
    AppendTwoDigits(result, seconds % 60);
    return result;
}

std::wstring FormatLocalTimestamp() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t buffer[64] = {};
    std::swprintf(buffer, std::size(buffer), L"%02u.%02u.%04u %02u:%02u:%02u", unsigned{now.wDay},
                  unsigned{now.wMonth}, unsigned{now.wYear}, unsigned{now.wHour}, unsigned{now.wMinute},
                  unsigned{now.wSecond});
    return buffer;
}

bool IsDigitChar(wchar_t c) {
    return std::iswdigit(static_cast<wint_t>(c)) != 0;
}

void ApplyValueRules(ReportRecord& record, std::span<const ValueRule> rules) {
    for (auto& [label, value] : record.fields) {
        for (const ValueRule& rule : rules) {
            const bool matches = rule.match == LabelMatch::Exact ? label == rule.label
                                                                 : label.find(rule.label) != std::wstring::npos;
            if (matches) {
                value = rule.format(value);
            }
        }
    }
}

void ApplyValueRules(ReportCategory& category, std::span<const ValueRule> rules) {
    for (ReportRecord& record : category.records) {
        ApplyValueRules(record, rules);
    }
}
