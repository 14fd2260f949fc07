#include "load/LiveLoad.h"
#include "wmi/ComApartment.h"

#include "load/DriveCounters.h"

#include <objbase.h>

#include <algorithm>

namespace {

// One wait serves every quantity that needs two samples.
constexpr DWORD kSampleIntervalMilliseconds = 850;

constexpr wchar_t kNamespace[] = L"ROOT\\CIMV2";
constexpr wchar_t kRawDiskQuery[] =
    L"SELECT PercentIdleTime,Timestamp_Sys100NS FROM Win32_PerfRawData_PerfDisk_PhysicalDisk WHERE Name='_Total'";
constexpr wchar_t kGpuQuery[] =
    L"SELECT UtilizationPercentage FROM Win32_PerfFormattedData_GPUPerformanceCounters_GPUEngine";

bool ReadProcessorTimes(ProcessorTimes& times) {
    FILETIME idle{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetSystemTimes(&idle, &kernel, &user)) {
        return false;
    }
    times = {FileTimeToUInt64(idle), FileTimeToUInt64(kernel), FileTimeToUInt64(user)};
    return true;
}

int MemoryLoadPercent() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) {
        return -1;
    }
    return static_cast<int>(std::min<DWORD>(status.dwMemoryLoad, 100));
}

std::vector<WmiRow> QueryRawDiskTotal(WmiSession& session) {
    return session.Query(kRawDiskQuery, {L"PercentIdleTime", L"Timestamp_Sys100NS"});
}

}  // namespace

LoadSnapshot SampleLiveLoad() {
    LoadSnapshot load;
    // Declared first so that every session below is released while COM is still initialised.
    const ComApartment com;

    ProcessorTimes processorBefore;
    const bool processorBeforeRead = ReadProcessorTimes(processorBefore);
    std::vector<DriveCounterSample> drives = TakeFirstDriveSamples(OpenPhysicalDrive, QueryDiskPerformance);

    // The first raw row is taken even when the drives answer: the drives are known only after the wait.
    WmiSession rawDisk(kNamespace);
    WmiRow rawBefore;
    if (rawDisk.IsConnected()) {
        std::vector<WmiRow> rows = QueryRawDiskTotal(rawDisk);
        if (!rows.empty()) {
            rawBefore = std::move(rows.front());
        }
    }

    Sleep(kSampleIntervalMilliseconds);

    ProcessorTimes processorAfter;
    if (processorBeforeRead && ReadProcessorTimes(processorAfter)) {
        load.cpuPercent = CpuBusyPercent(processorBefore, processorAfter);
    }
    load.memoryPercent = MemoryLoadPercent();

    int highestDisk = TakeSecondDriveSamples(drives, QueryDiskPerformance);
    if (highestDisk < 0 && !rawBefore.empty() && rawDisk.IsConnected()) {
        const std::vector<WmiRow> rows = QueryRawDiskTotal(rawDisk);
        if (!rows.empty()) {
            highestDisk = WmiDiskBusyPercent(rawBefore, rows.front());
        }
    }
    load.diskPercent = highestDisk;

    WmiSession gpu(kNamespace);
    if (gpu.IsConnected()) {
        load.gpuPercent = HighestGpuEnginePercent(gpu.Query(kGpuQuery, {L"UtilizationPercentage"}));
    }
    return load;
}
