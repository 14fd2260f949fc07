#pragma once

// "Monitore" from the platform: Win32_DesktopMonitor, the active display paths of the display
// configuration and the EDID classes of ROOT\WMI.

#include "inventory/MonitorCategory.h"
#include "inventory/ScanSteps.h"
#include "model/Report.h"

#include <span>

#include <windows.h>

// The scan step: the desktop-monitor query, its hardware ids, then CollectMonitors.
void CollectMonitorCategory(ScanContext& scan);

// Adds a record per active display path and the EDID data of ROOT\WMI. Silent on every failure;
// initialises COM for its own WMI session and balances what it initialised.
void CollectMonitors(HardwareReport& report);

// The values of one queried path; the names are read only within their arrays.
DisplayPathInfo DescribeDisplayPath(const DISPLAYCONFIG_PATH_INFO& path, std::span<const DISPLAYCONFIG_MODE_INFO> modes,
                                    const DISPLAYCONFIG_TARGET_DEVICE_NAME& target,
                                    const DISPLAYCONFIG_SOURCE_DEVICE_NAME& source);
