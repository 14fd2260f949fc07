#pragma once

// The plain-text form of one category, as it goes to the clipboard.

#include "model/Report.h"

#include <string>

// Name, blank line, then per record "[title]" and "label: value" lines, each record closed by an
// empty line; CR LF throughout, as clipboard text expects.
std::wstring BuildCategoryClipboardText(const ReportCategory& category);
