#pragma once

// The main window's state, its private messages and its control and command ids.

#include "app/Gdi.h"
#include "model/Report.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// Posted to the main window; a payload in lParam belongs to the receiver once the post succeeds.
inline constexpr UINT WM_APP_START_SCAN = WM_APP + 1;
inline constexpr UINT WM_APP_SCAN_PROGRESS = WM_APP + 2;  // ProgressMessage*
inline constexpr UINT WM_APP_SCAN_DONE = WM_APP + 3;      // HardwareReport*
inline constexpr UINT WM_APP_LOAD_SAMPLE = WM_APP + 4;    // LoadSnapshot*
inline constexpr UINT WM_APP_SCAN_FAILED = WM_APP + 5;    // no payload: the scan thread threw

inline constexpr UINT_PTR LOAD_TIMER_ID = 1200;
inline constexpr UINT kLoadTimerPeriodMs = 5000;

inline constexpr int IDC_TREE = 1001;
inline constexpr int IDC_DETAILS = 1002;
inline constexpr int IDC_RESCAN = 1003;
inline constexpr int IDC_EXPORT_TXT = 1004;
inline constexpr int IDC_EXPORT_JSON = 1005;
inline constexpr int IDC_COPY_CATEGORY = 1006;
inline constexpr int IDC_PROGRESS = 1007;
inline constexpr int IDC_EXPORT_PDF = 1008;
inline constexpr int IDM_EXIT = 1009;
inline constexpr int IDM_COPY_SELECTION = 1010;
inline constexpr int IDM_SELECT_ALL = 1011;

struct ProgressMessage {
    std::wstring text;
    int32_t percent = 0;
};

struct LoadTile {
    std::wstring label;
    int32_t percent = -1;  // below 0: not available
    HWND tileWindow = nullptr;
};

// One per program run, a local of wWinMain. The windows keep pointers into it, so it never
// moves or copies.
struct AppState {
    HWND hwnd = nullptr;
    HWND titleLabel = nullptr;
    HWND subtitleLabel = nullptr;
    HWND categoryTree = nullptr;
    HWND detailsView = nullptr;
    HWND statusLabel = nullptr;
    HWND progressBar = nullptr;
    HWND rescanButton = nullptr;
    HWND txtButton = nullptr;
    HWND jsonButton = nullptr;
    HWND pdfButton = nullptr;
    HWND copyButton = nullptr;
    FontHandle bodyFont;
    FontHandle titleFont;
    BrushHandle windowBrush;
    BrushHandle panelBrush;
    ImageListHandle treeIcons;
    // Stays loaded until the process ends: the details pane's class lives in it.
    HMODULE richEditModule = nullptr;
    std::array<LoadTile, 4> tiles = {{{L"CPU"}, {L"Arbeitsspeicher"}, {L"Datenträger"}, {L"Grafik"}}};
    std::unique_ptr<HardwareReport> report;
    bool scanning = false;
    bool samplePending = false;
    size_t selectedCategory = 0;

    AppState() = default;
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;
};
