#pragma once

// One blocking measurement of processor, memory, disk and graphics load.

#include "model/Report.h"
#include "wmi/WmiSession.h"

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>
#include <winioctl.h>

// Each value 0 to 100, or -1 when it cannot be measured. Sleeps about 850 ms.
LoadSnapshot SampleLiveLoad();

bool QueryDiskPerformance(HANDLE drive, DISK_PERFORMANCE& performance);
int DiskBusyPercent(const DISK_PERFORMANCE& before, const DISK_PERFORMANCE& after);
int WmiDiskBusyPercent(const WmiRow& before, const WmiRow& after);
int ParseClampedPercent(const std::wstring& text);
uint64_t FileTimeToUInt64(const FILETIME& time);

// The share of the elapsed time that was not idle, from two readings of an elapsed-time counter
// and an idle counter: 0 to 100, or -1 when no time passed or the idle counter went backwards.
int CounterBusyPercent(uint64_t timeBefore, uint64_t timeAfter, uint64_t idleBefore, uint64_t idleAfter);

// GetSystemTimes' three counters, in 100-nanosecond units. The kernel time includes the idle time.
struct ProcessorTimes {
    uint64_t idle = 0;
    uint64_t kernel = 0;
    uint64_t user = 0;
};

// 0 to 100, or -1 when the kernel and user times did not advance (or went backwards).
int CpuBusyPercent(const ProcessorTimes& before, const ProcessorTimes& after);

// The busiest single engine among the rows of the graphics engine counters, or -1.
int HighestGpuEnginePercent(const std::vector<WmiRow>& rows);
