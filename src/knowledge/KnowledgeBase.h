#pragma once

// Enriches a finished inventory from built-in knowledge: makers behind USB and PCI vendor
// ids, monitor maker and model codes, and the facts of known device models. It only adds
// fields (and may replace a placeholder monitor title); it never removes anything.

#include "knowledge/DeviceProfiles.h"
#include "model/Report.h"

#include <cstddef>
#include <string>
#include <vector>

struct HardwareIdVendorEntry {
    const wchar_t* needle;  // "vid" or "ven" and four hex digits, as they stand in a search key
    const wchar_t* vendor;
};

inline constexpr size_t kHardwareIdVendorCount = 15;
extern const HardwareIdVendorEntry kHardwareIdVendors[kHardwareIdVendorCount];

// Runs once over the merged categories of a scan, before values are normalised.
void ApplyKnowledgeBase(std::vector<ReportCategory>& categories);

// The lower-case letters and digits of title, labels and values run together.
std::wstring BuildRecordKey(const ReportRecord& record);
std::wstring NormalizeKey(const std::wstring& text);
void AddHardwareIdVendor(ReportRecord& record, const std::wstring& key);
// The first writer of a label wins; empty values are never written.
void AddFieldIfMissing(ReportRecord& record, const std::wstring& label, const std::wstring& value);
bool ProfileMatches(const std::wstring& key, const DeviceProfile& profile);
