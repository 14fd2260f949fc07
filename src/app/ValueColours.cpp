#include "app/ValueColours.h"
#include "model/Report.h"

#include <algorithm>
#include <cwctype>
#include <stdexcept>

namespace {

bool ContainsAny(const std::wstring& text, std::initializer_list<const wchar_t*> needles) {
    return std::any_of(needles.begin(), needles.end(),
                       [&](const wchar_t* needle) { return ContainsNoCase(text, needle); });
}

bool IsDigit(wchar_t c) {
    return std::iswdigit(static_cast<wint_t>(c)) != 0;
}

// Reads the leading integer of the text as std::stoi does; -1 when there is none or it overflows.
int ToInteger(const std::wstring& text) {
    try {
        return std::stoi(text);
    } catch (const std::logic_error&) {
        return -1;
    }
}

struct Thresholds {
    double critical;
    double warning;
};

} // namespace

double ParseLeadingNumber(const std::wstring& text) {
    std::wstring number;
    for (wchar_t c : text) {
        const bool taken = IsDigit(c) || (c == L'-' && number.empty()) || c == L',' || c == L'.';
        if (!taken) {
            if (number.empty()) {
                continue;
            }
            break;
        }
        number.push_back(c == L',' ? L'.' : c);
    }
    try {
        return std::stod(number);
    } catch (const std::logic_error&) {
        return -1.0;
    }
}

int ParsePercent(const std::wstring& text) {
    const size_t percentSign = text.find(L'%');
    if (percentSign == std::wstring::npos) {
        return -1;
    }
    size_t start = percentSign;
    while (start > 0 && (IsDigit(text[start - 1]) || text[start - 1] == L' ')) {
        --start;
    }
    size_t end = percentSign;
    // "95.5 %" must read as 95, not as the fraction digits: when the run follows a decimal
    // separator, the number is the integer part in front of that separator.
    if (start >= 2 && (text[start - 1] == L'.' || text[start - 1] == L',') && IsDigit(text[start]) &&
        IsDigit(text[start - 2])) {
        end = start - 1;
        start = end;
        while (start > 0 && IsDigit(text[start - 1])) {
            --start;
        }
    }
    const int number = ToInteger(text.substr(start, end - start));
    return number < 0 ? -1 : std::min(number, 100);
}

Colour FieldValueColor(const std::wstring& label, const std::wstring& value) {
    const double n = ParseLeadingNumber(value);

    if (ContainsNoCase(label, L"temperatur") && !ContainsNoCase(label, L"kritisch") &&
        !ContainsNoCase(label, L"zulässig")) {
        const Thresholds limits = ContainsNoCase(label, L"ssd") ? Thresholds{70, 60} : Thresholds{85, 70};
        if (n >= limits.critical) {
            return CriticalColor;
        }
        if (n >= limits.warning) {
            return WarningColor;
        }
        if (n >= 0) {
            return GoodColor;
        }
    }
    if (ContainsNoCase(label, L"auslastung")) {
        return LoadLevelColor(ParsePercent(value));
    }
    if (ContainsNoCase(label, L"restlebensdauer")) {
        if (n >= 80) {
            return GoodColor;
        }
        if (n >= 50) {
            return WarningColor;
        }
        if (n >= 0) {
            return CriticalColor;
        }
    }
    if (!ContainsAny(label, {L"zustand", L"status", L"fehler", L"aktiv"})) {
        return TextColor;
    }
    // "deaktiviert" must be judged before "aktiv", which it contains.
    if (ContainsAny(value, {L"krit", L"fehler", L"ungesund", L"deaktiviert"})) {
        return CriticalColor;
    }
    if (ContainsAny(value, {L"warn", L"beobachten"})) {
        return WarningColor;
    }
    if (ContainsAny(value, {L"gut", L"ok", L"aktiv"}) || value == L"Ja") {
        return GoodColor;
    }
    return TextColor;
}

Colour LoadLevelColor(int percent) {
    if (percent < 0) {
        return SecondaryTextColor;
    }
    if (percent == 0) {
        return IdleColor;
    }
    if (percent >= 90) {
        return CriticalColor;
    }
    if (percent >= 70) {
        return WarningColor;
    }
    return GoodColor;
}

Colour GradientColor(int position) {
    position = std::clamp(position, 0, 100);
    if (position <= 70) {
        const int k = position * 255 / 70;
        return MakeColour(54 + k * 191 / 255, 190, 108 - (k * 63 / 255));
    }
    const int k = (position - 70) * 255 / 30;
    return MakeColour(245 - (k * 10 / 255), 190 - (k * 126 / 255), 45 + k * 19 / 255);
}
