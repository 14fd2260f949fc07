#include "model/Version.h"

std::wstring FormatCompileDate(std::string_view raw) {
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // A malformed text still yields a date of the same shape; missing characters read as blanks.
    auto at = [&](size_t i) -> wchar_t { return i < raw.size() ? static_cast<wchar_t>(raw[i]) : L' '; };

    int month = 0;
    for (int i = 0; i < 12; ++i) {
        if (raw.substr(0, 3) == months[i]) {
            month = i + 1;
            break;
        }
    }
    std::wstring result;
    result.reserve(10);
    result.push_back(at(4) == L' ' ? L'0' : at(4));
    result.push_back(at(5));
    result.push_back(L'.');
    result.push_back(static_cast<wchar_t>(L'0' + month / 10));
    result.push_back(static_cast<wchar_t>(L'0' + month % 10));
    result.push_back(L'.');
    for (size_t i = 7; i < 11; ++i) {
        result.push_back(at(i));
    }
    return result;
}

std::wstring FormatBuildDate() {
    return FormatCompileDate(__DATE__);
}

std::wstring BuildVersionLine() {
    return std::wstring(L"Version ") + kVersionText + L" · kompiliert am " + FormatBuildDate();
}
