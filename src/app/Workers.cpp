#include "app/Workers.h"

#include "app/MainWindow.h"
#include "inventory/Inventory.h"
#include "load/LiveLoad.h"

#include <commctrl.h>

#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace {

// Hands the payload to the window; when the post fails (the window is gone) it is freed here.
template <typename T>
void PostOwned(HWND target, UINT message, std::unique_ptr<T> payload) {
    if (PostMessageW(target, message, 0, reinterpret_cast<LPARAM>(payload.get()))) {
        payload.release();
    }
}

bool StartDetachedThread(std::function<void()> body) {
    try {
        std::thread(std::move(body)).detach();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void LoadSampleWorker(HWND target) noexcept {
    try {
        PostOwned(target, WM_APP_LOAD_SAMPLE, std::make_unique<LoadSnapshot>(SampleLiveLoad()));
    } catch (...) {
        // The window clears its pending flag on any sample message, also an empty one.
        PostMessageW(target, WM_APP_LOAD_SAMPLE, 0, 0);
    }
}

// Back to where the window was before the scan: the previous report stays shown and
// exportable, with its load values, its buttons and its refresh timer.
void LeaveScanWithoutReport(AppState& state, const wchar_t* status) {
    state.scanning = false;
    EnableActions(state, true);
    SyncLoadTiles(state);
    if (state.report) {
        SetTimer(state.hwnd, LOAD_TIMER_ID, kLoadTimerPeriodMs, nullptr);
    }
    SetWindowTextW(state.statusLabel, status);
}

} // namespace

void ScanWorker(HWND target, ScanFunction scan) noexcept {
    try {
        auto report = std::make_unique<HardwareReport>(scan(PostProgress{target}));
        PostOwned(target, WM_APP_SCAN_DONE, std::move(report));
    } catch (...) {
        // An empty report here would replace the good one and read as a finished scan. The
        // message needs no memory, so it still goes out when memory ran short.
        PostMessageW(target, WM_APP_SCAN_FAILED, 0, 0);
    }
}

void PostProgress::operator()(const std::wstring& message, int percent) const {
    PostOwned(target, WM_APP_SCAN_PROGRESS, std::make_unique<ProgressMessage>(ProgressMessage{message, percent}));
}

void StartScan(AppState& state) {
    if (state.scanning) {
        return;
    }
    state.scanning = true;
    KillTimer(state.hwnd, LOAD_TIMER_ID);
    EnableActions(state, false);
    SetWindowTextW(state.statusLabel, L"Hardwareanalyse wird gestartet …");
    SendMessageW(state.progressBar, PBM_SETPOS, 0, 0);
    for (LoadTile& tile : state.tiles) {
        tile.percent = -1;
        if (tile.tileWindow) {
            InvalidateRect(tile.tileWindow, nullptr, TRUE);
        }
    }
    const HWND target = state.hwnd;
    if (!StartDetachedThread([target] { ScanWorker(target, CollectHardwareInventory); })) {
        RecoverFromFailedScanStart(state);
    }
}

void RecoverFromFailedScanStart(AppState& state) {
    LeaveScanWithoutReport(state, L"Die Analyse konnte nicht gestartet werden.");
}

void RecoverFromFailedScan(AppState& state) {
    // The bar stood wherever the scan got to; it would look like a scan still under way.
    SendMessageW(state.progressBar, PBM_SETPOS, 0, 0);
    LeaveScanWithoutReport(state, L"Die Analyse ist fehlgeschlagen.");
}

void StartLoadSample(AppState& state) {
    if (state.scanning || state.samplePending || !state.report) {
        return;
    }
    state.samplePending = true;
    const HWND target = state.hwnd;
    // Without a thread the next tick simply tries again.
    if (!StartDetachedThread([target] { LoadSampleWorker(target); })) {
        state.samplePending = false;
    }
}

void SyncLoadTiles(AppState& state) {
    if (!state.report) {
        return;
    }
    const LoadSnapshot& load = state.report->load;
    const int32_t values[] = {load.cpuPercent, load.memoryPercent, load.diskPercent, load.gpuPercent};
    for (size_t i = 0; i < state.tiles.size(); ++i) {
        state.tiles[i].percent = values[i];
        InvalidateRect(state.tiles[i].tileWindow, nullptr, TRUE);
    }
}
