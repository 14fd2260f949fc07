#pragma once

// Memory slots from the firmware's SMBIOS table (Memory Device structures, type 17), joined to
// the records the memory step made from WMI or added as slot records of their own.

#include "model/Report.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

struct MemorySummary {
    uint32_t slotCount = 0;       // type-17 structures long enough to read; also the next bank number
    uint32_t populatedCount = 0;  // of those, the ones reporting a module
    uint64_t totalBytes = 0;      // sum of the installed modules' sizes
    bool found = false;           // at least one slot was seen
};

// Fetches the raw table from the platform; leaves the report untouched when it cannot be read.
MemorySummary CollectMemoryModulesSmbios(HardwareReport& report);
// The walk behind it, over the table as the platform delivers it: the 8-byte header, then the structures.
MemorySummary CollectMemoryModulesFromTable(HardwareReport& report, std::span<const uint8_t> firmwareTable);

// Little-endian reads inside one structure's formatted area; false, out untouched, when it is too short.
bool ReadSmbiosWord(std::span<const uint8_t> structure, size_t offset, uint16_t& out);
bool ReadSmbiosDword(std::span<const uint8_t> structure, size_t offset, uint32_t& out);
// String number index (from 1) of a structure's string set, trimmed; empty for 0 or a missing string.
// Text that is not valid UTF-8 is read in the ANSI code page.
std::wstring SmbiosString(std::span<const uint8_t> stringSet, uint8_t index);

// SMBIOS memory-type code, as decimal text, to its name.
std::wstring MemoryTypeName(const std::wstring& code);
// "DDR4-3200 · PC4-25600" and the like; "Nicht gemeldet" without a speed.
std::wstring JedecSpeedClass(uint8_t memoryType, uint16_t speed);
// Fixed details of well-known modules; true when the part number has a profile.
bool ApplyModuleDetailProfile(ReportRecord& record, const std::wstring& partNumber);
