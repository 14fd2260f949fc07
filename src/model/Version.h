#pragma once

// The program's identity texts: window title, headings and report headers all use these.

#include <string>
#include <string_view>

inline constexpr wchar_t kVersionText[] = L"1.4.1";

// "Mmm dd yyyy" as the compiler's __DATE__ writes it, to "dd.mm.yyyy".
std::wstring FormatCompileDate(std::string_view compileDate);

std::wstring FormatBuildDate();
std::wstring BuildVersionLine();
