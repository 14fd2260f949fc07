#pragma once

// The scan and load-sample threads: started on the UI thread, they hand their results back only
// through messages posted to the main window.

#include "app/AppState.h"

#include <windows.h>

#include <string>

void StartScan(AppState& state);
void StartLoadSample(AppState& state);

// Copies the report's load percentages into the four tiles and repaints them.
void SyncLoadTiles(AppState& state);

// Leaves the scanning state again when no scan thread could be started.
void RecoverFromFailedScanStart(AppState& state);

// The scan's progress callback: posts each step to the window as a heap ProgressMessage.
struct PostProgress {
    HWND target;
    void operator()(const std::wstring& message, int percent) const;
};
