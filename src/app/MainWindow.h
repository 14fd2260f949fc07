#pragma once

// The main window: its class, its procedure and the handlers of the workers' results.

#include "app/AppState.h"

#include <windows.h>

#include <memory>
#include <string>

inline constexpr wchar_t kMainWindowClass[] = L"Orvenna.Velquist.MainWindow";
inline constexpr int kMainWindowWidth = 1360;
inline constexpr int kMainWindowHeight = 850;
inline constexpr int kIconResource = 101;

bool RegisterMainWindowClass(HINSTANCE instance);

// "Velquist · Version … · kompiliert am …"
std::wstring MainWindowTitle();

// Creates the main window centred in the work area, bound to `state`; null on failure.
HWND CreateMainWindow(AppState& state, HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void EnableActions(AppState& state, bool on);

// The details pane's context menu: copying is offered only while text is selected.
MenuHandle BuildDetailsContextMenu(HWND details);
void RunDetailsMenuCommand(AppState& state, int command);

void OnScanProgress(AppState& state, std::unique_ptr<ProgressMessage> progress);
void OnScanDone(AppState& state, std::unique_ptr<HardwareReport> report);
void OnLoadSample(AppState& state, std::unique_ptr<LoadSnapshot> snapshot);
