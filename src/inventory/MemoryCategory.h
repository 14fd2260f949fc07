#pragma once

// "Arbeitsspeicher": one record per module WMI reports, the firmware's slots joined to them, and
// the slot overview in front.

#include "inventory/ScanSteps.h"
#include "inventory/SmbiosMemory.h"
#include "model/Report.h"
#include "wmi/WmiSession.h"

#include <cstdint>
#include <vector>

// What the memory arrays report, summed over all of them.
struct MemoryArrayTotals {
    uint64_t memoryDevices = 0;
    uint64_t maxCapacityKiB = 0;
};

void CollectMemoryAndSlotOverview(ScanContext& scan);

// Trims the WMI records and turns capacities, clocks and type codes into display texts.
void ConvertMemoryValues(ReportCategory& memory);
// Every record counts as fitted unless the firmware reported its bank free.
bool IsOccupiedSlot(const ReportRecord& record);
MemoryArrayTotals SumMemoryArrays(const std::vector<WmiRow>& rows);
// Puts "RAM-Steckplatzübersicht" at the front of the category.
void InsertSlotOverview(ReportCategory& memory, const MemorySummary& smbiosBanks, const MemoryArrayTotals& arrays);
