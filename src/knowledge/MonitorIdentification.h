#pragma once

// Resolves the EDID maker and product codes of a monitor record into names.

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
// True for the titles the monitor collector and Windows give a monitor they cannot name.
bool IsGenericMonitorName(const std::wstring& title);
const std::vector<PnpVendorEntry>& PnpVendorTable();
const std::vector<MonitorModelEntry>& KnownMonitorModels();
