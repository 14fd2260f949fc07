#pragma once

// Resolves the EDID maker and product codes of a monitor record into names.

#include "model/Dedup.h"
#include "model/Report.h"

#include <string>
#include <vector>

struct PnpVendorEntry {
    std::wstring code;  // three upper-case letters
    std::wstring name;
};

struct MonitorModelEntry {
    std::wstring vendorCode;   // three upper-case letters
    std::wstring productCode;  // four upper-case hex digits
    std::wstring model;
};

void IdentifyMonitor(ReportRecord& record);
// The letters and digits of the text, upper-cased.
std::wstring NormalizeCode(const std::wstring& text);
// IsGenericMonitorName (model/Dedup.h) tells the placeholder titles: the merge shares that rule.
const std::vector<PnpVendorEntry>& PnpVendorTable();
const std::vector<MonitorModelEntry>& KnownMonitorModels();
