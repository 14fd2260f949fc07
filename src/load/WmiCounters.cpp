#include "load/LiveLoad.h"

#include <algorithm>

int WmiDiskBusyPercent(const WmiRow& before, const WmiRow& after) {
    return CounterBusyPercent(ParseUInt(GetRowValue(before, L"Timestamp_Sys100NS", L"")),
                              ParseUInt(GetRowValue(after, L"Timestamp_Sys100NS", L"")),
                              ParseUInt(GetRowValue(before, L"PercentIdleTime", L"")),
                              ParseUInt(GetRowValue(after, L"PercentIdleTime", L"")));
}

int HighestGpuEnginePercent(const std::vector<WmiRow>& rows) {
    int highest = -1;
    for (const WmiRow& row : rows) {
        highest = std::max(highest, ParseClampedPercent(GetRowValue(row, L"UtilizationPercentage", L"")));
    }
    return highest;
}
