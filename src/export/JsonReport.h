#pragma once

// The machine-readable report behind "JSON exportieren", written in a fixed line layout.

#include "model/Report.h"

#include <string>

// The escaped text without surrounding quotation marks. Non-ASCII units, lone surrogates
// included, pass unchanged; they become UTF-8 only when the file is written.
std::wstring JsonEscape(const std::wstring& text);

std::wstring BuildJsonReport(const HardwareReport& report);
// The same with the build date given: tests fix it to compare whole documents.
std::wstring BuildJsonReportWithBuildDate(const HardwareReport& report, const std::wstring& buildDate);
