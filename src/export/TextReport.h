#pragma once

// The plain-text report behind "TXT exportieren".

#include "model/Report.h"

#include <string>

// The whole document, LF line ends, texts written as they stand (nothing escaped or cut).
std::wstring BuildTextReport(const HardwareReport& report);
// The same with the build date given: tests fix it to compare whole documents.
std::wstring BuildTextReportWithBuildDate(const HardwareReport& report, const std::wstring& buildDate);
