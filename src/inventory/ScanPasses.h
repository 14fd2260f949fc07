#pragma once

// The scan's closing work on the collected report; plain logic, no platform calls.

#include "model/Report.h"

#include <vector>

inline constexpr wchar_t kLoadCategoryName[] = L"Aktuelle Auslastung";
inline constexpr wchar_t kLoadRecordTitle[] = L"Livewerte – automatische Aktualisierung alle 5 Sekunden";

// "Aktuelle Auslastung" with its one record of four percentages; the live refresh finds it by these texts.
ReportCategory BuildLoadCategory(const LoadSnapshot& load);

// Merges duplicate records, trims and converts values, and drops categories left empty.
void RunFinalPass(std::vector<ReportCategory>& categories);
