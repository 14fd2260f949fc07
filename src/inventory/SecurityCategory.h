#pragma once

// "Sicherheit & Firmware": how the machine starts (firmware mode, Secure Boot, the scanner's own
// bitness), the drivers of its security devices and its Trusted Platform Module.

#include "inventory/ScanSteps.h"
#include "model/Report.h"

#include <cstdint>
#include <string>

#include <windows.h>

inline constexpr wchar_t kSecurityCategoryName[] = L"Sicherheit & Firmware";
inline constexpr wchar_t kFirmwareStatusTitle[] = L"Start- und Firmwarestatus";

// What the platform told about the start of the machine; a failed read keeps its flag false.
struct FirmwareStatusReadings {
    bool firmwareTypeRead = false;
    uint32_t firmwareType = 0;
    bool secureBootRead = false;
    uint32_t secureBootEnabled = 0;
    bool wow64 = false;
};

std::wstring FirmwareModeText(bool read, uint32_t firmwareType);
std::wstring SecureBootText(bool read, uint32_t secureBootEnabled);
std::wstring ProcessBitnessText(bool wow64);
// The three fields in their fixed order; unknown values stay in the record.
ReportRecord BuildFirmwareStatusRecord(const FirmwareStatusReadings& readings);

// False when the platform lacks the call or the call fails.
bool ReadFirmwareType(uint32_t& firmwareType);
// Reads a value stored as REG_DWORD only; any other type, or a missing key or value, is a failure.
bool ReadRegistryDword(HKEY root, const wchar_t* subkey, const wchar_t* valueName, uint32_t& value);

// Appends "Start- und Firmwarestatus" to "Sicherheit & Firmware"; never fails.
void CollectFirmwareStatus(HardwareReport& report);
// The firmware record, then the security device drivers, then the TPM rows.
void CollectSecurityAndFirmware(ScanContext& scan);
