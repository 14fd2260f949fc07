#pragma once

// "System", "Windows", "Prozessor", "Mainboard & BIOS" and "Chipsatz & Systemgeräte".

#include "inventory/ScanSteps.h"
#include "model/Report.h"

#include <string>

#include <windows.h>

// Computer system (with uptime), product, enclosure and operating system.
void CollectSystemAndWindows(ScanContext& scan);
// Processors, then their caches.
void CollectProcessorAndCaches(ScanContext& scan);
// Base boards, BIOS, the registry firmware record, then the chipset drivers.
void CollectMainboardAndChipset(ScanContext& scan);

// The conversions that follow the computer-system and processor queries.
void ConvertSystemValues(ReportCategory& system);
void ConvertProcessorValues(ReportCategory& processor);

void CollectRegistryFirmwareInventory(HardwareReport& report);
// The trimmed text of a REG_SZ value, or of the first string of a REG_MULTI_SZ; empty on any failure.
std::wstring RegReadString(HKEY root, const std::wstring& subkey, const std::wstring& valueName);
