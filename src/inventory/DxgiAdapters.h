#pragma once

// The graphics adapters as DXGI enumerates them: PCI identifiers, 64-bit memory sizes, the
// adapter's LUID and whether it renders in software.

#include "model/Report.h"

#include <string>

#include <dxgi.h>

// Appends one record per adapter to "Grafik", or a hint when DXGI cannot be started.
void CollectGpusDxgi(HardwareReport& report);

// The enumeration behind CollectGpusDxgi, on a factory the caller owns.
void AppendDxgiAdapters(IDXGIFactory1& factory, ReportCategory& graphics);

ReportRecord BuildDxgiAdapterRecord(const DXGI_ADAPTER_DESC1& desc);
// "VEN_10DE · DEV_06CD · SUBSYS_00000000 · REV_A3"
std::wstring FormatDxgiHardwareIds(UINT vendorId, UINT deviceId, UINT subSysId, UINT revision);
// "00000000:0000C3F1", high part first.
std::wstring FormatAdapterLuid(const LUID& luid);
