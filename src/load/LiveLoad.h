#pragma once

// One blocking measurement of processor, memory, disk and graphics load.

#include "model/Report.h"
#include "wmi/WmiSession.h"

#include <string>

#include <windows.h>
#include <winioctl.h>

// Each value 0 to 100, or -1 when it cannot be measured. Sleeps about 850 ms.
LoadSnapshot SampleLiveLoad();

bool QueryDiskPerformance(HANDLE drive, DISK_PERFORMANCE& performance);
int DiskBusyPercent(const DISK_PERFORMANCE& before, const DISK_PERFORMANCE& after);
int WmiDiskBusyPercent(const WmiRow& before, const WmiRow& after);
int ParseClampedPercent(const std::wstring& text);
uint64_t FileTimeToUInt64(const FILETIME& time);
