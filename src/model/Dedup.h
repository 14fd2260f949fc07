#pragma once

#include "model/Report.h"

#include <string>

// The labels by which two records count as one device, strongest first.
inline constexpr const wchar_t* kIdentityLabels[] = {
    L"Seriennummer",       L"MAC-Adresse", L"PnP-Geräte-ID", L"Eindeutige ID",
    L"System-UUID",        L"Windows-Geräteindex", L"Sensor-ID", L"Monitor-Hardwarekennung",
};

bool RecordsDescribeSameDevice(const ReportRecord& a, const ReportRecord& b);

// Merges the records of one category that describe the same device; each device keeps
// the place of its first record.
void DeduplicateRecords(ReportCategory& category);

// True for the titles Windows and the monitor collector give a monitor they cannot name
// ("Generic PnP Monitor", "Generischer PnP-Monitor", "Monitor (EDID)", "Aktiver Monitor").
// The merge never lets such a title replace a real one, and the knowledge base may replace it.
bool IsGenericMonitorName(const std::wstring& title);
