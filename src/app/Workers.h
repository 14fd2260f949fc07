#pragma once

// The scan and load-sample threads: started on the UI thread, they hand their results back only
// through messages posted to the main window.

#include "app/AppState.h"
#include "inventory/Inventory.h"

#include <windows.h>

#include <string>

void StartScan(AppState& state);
void StartLoadSample(AppState& state);

// Copies the report's load percentages into the four tiles and repaints them.
void SyncLoadTiles(AppState& state);

// Leaves the scanning state again when no scan thread could be started.
void RecoverFromFailedScanStart(AppState& state);

// Leaves the scanning state again when the scan thread threw instead of delivering a report.
void RecoverFromFailedScan(AppState& state);

// What the scan thread runs; tests pass one that throws.
using ScanFunction = HardwareReport (*)(const ProgressCallback& progress);

// The scan thread's body: posts the report as WM_APP_SCAN_DONE, or WM_APP_SCAN_FAILED when
// the scan throws.
void ScanWorker(HWND target, ScanFunction scan) noexcept;

// The scan's progress callback: posts each step to the window as a heap ProgressMessage.
struct PostProgress {
    HWND target;
    void operator()(const std::wstring& message, int percent) const;
};
