#pragma once

// A real main window in the test process, bound to a test-owned AppState. The posted start
// message is never dispatched, so no scan runs: each test feeds the handlers itself.

#include "app/AppState.h"
#include "app/LoadBar.h"
#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

inline std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

class MainWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        // Registered once per process; a second registration fails harmlessly.
        RegisterLoadBarClass(GetModuleHandleW(nullptr));
        RegisterMainWindowClass(GetModuleHandleW(nullptr));
    }

    void SetUp() override {
        window = CreateMainWindow(state, GetModuleHandleW(nullptr));
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(state.hwnd, window);
        DropQueuedMessages();
    }

    void TearDown() override {
        if (window) {
            DestroyWindow(window);
        }
        DropQueuedMessages();
    }

    // What StartScan leaves behind when it starts its thread over a shown report.
    void EnterScanningAfterReport() {
        state.scanning = true;
        KillTimer(window, LOAD_TIMER_ID);
        EnableActions(state, false);
        for (LoadTile& tile : state.tiles) {
            tile.percent = -1;
        }
    }

    // The start message, timer ticks and the quit message are removed without being dispatched:
    // a modal loop of a later test would otherwise start a real scan.
    static void DropQueuedMessages() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    AppState state;
    HWND window = nullptr;
};
