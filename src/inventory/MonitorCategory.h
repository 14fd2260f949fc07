#pragma once

// The monitor texts and records of "Monitore": hardware ids, connector names, EDID code arrays,
// one record per display path and the EDID rows joined onto them. Nothing here calls the platform.

#include "model/Report.h"
#include "wmi/WmiSession.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr wchar_t kMonitorCategory[] = L"Monitore";

// "DISPLAY\" and the id up to the next backslash, from a device path ("#"-separated) or an
// instance name ("\"-separated); empty when there is none. Case is kept and matters.
std::wstring MonitorHardwareId(std::wstring text);

// The connector of a display output technology code; unknown codes give "Windows-Code <signed>".
std::wstring ConnectorName(uint32_t outputTechnology);

// A WMI array of UTF-16 codes ("68; 69; 76; 0; 0") as text, ending at the first 0 or non-number.
std::wstring DecodeWmiCodeArray(const std::wstring& text);

// True for a WmiMonitorBasicDisplayParams row of the captured, normalised instance name.
struct MonitorInstanceMatches {
    std::wstring instanceId;
    bool operator()(const WmiRow& row) const;
};

// What one active display path reports, already read out of the platform's structures.
struct DisplayPathInfo {
    std::wstring friendlyName;   // empty when Windows has none
    std::wstring devicePath;
    std::wstring gdiDeviceName;  // empty when the source name could not be read
    bool friendlyNameFromEdid = false;
    uint32_t outputTechnology = 0;
    uint32_t refreshNumerator = 0;
    uint32_t refreshDenominator = 0;
    bool hasSourceMode = false;
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t pixelFormat = 0;
};

ReportRecord BuildDisplayPathRecord(const DisplayPathInfo& path);

// Gives every record its "Monitor-Hardwarekennung" from its "PnP-Geräte-ID".
void AddHardwareIdsFromPnpIds(ReportCategory& monitors);

// Completes the display-path record each WmiMonitorID row belongs to, or adds a "Monitor (EDID)"
// record for it, and adds the size and signal input of its WmiMonitorBasicDisplayParams row.
void AddEdidRows(ReportCategory& monitors, const std::vector<WmiRow>& ids, const std::vector<WmiRow>& params);
