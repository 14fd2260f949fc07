#pragma once

// "Laufwerke": one record per physical drive from Win32_DiskDrive and the storage namespace's
// physical disks and reliability counters, merged per drive.

#include "inventory/ScanSteps.h"
#include "model/Report.h"
#include "wmi/WmiSession.h"

#include <string>
#include <vector>

inline constexpr wchar_t kStorageCategoryName[] = L"Laufwerke";
inline constexpr wchar_t kStorageNamespace[] = L"ROOT\\Microsoft\\Windows\\Storage";

void CollectStorageDevices(ScanContext& scan);
// The same step on any storage namespace path; the scan passes kStorageNamespace.
void CollectStorageDevicesFrom(ScanContext& scan, const std::wstring& storageNamespace);

// Trims the values of a Win32_DiskDrive record and formats its capacity.
void ConvertDiskDriveValues(ReportRecord& drive);

// One MSFT_PhysicalDisk row as a record; unreported values read "Nicht gemeldet".
ReportRecord BuildPhysicalDiskRecord(const WmiRow& row);

// Puts each MSFT_StorageReliabilityCounter row into the first record whose "Windows-Geräteindex"
// equals its DeviceId, or into a new record for that drive.
void AddReliabilityCounters(ReportCategory& drives, const std::vector<WmiRow>& rows);

// The wear rating, temperatures, hours, error counts, latencies, cycles and manufacture date of one row.
void AddReliabilityFields(ReportRecord& record, const WmiRow& row);

// Everything the storage namespace adds once it is open: the physical-disk records, the
// reliability counters and the merge of each drive's records.
void AddStorageNamespaceData(ReportCategory& drives, const std::vector<WmiRow>& disks,
                             const std::vector<WmiRow>& reliability);
