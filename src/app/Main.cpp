#include "app/AppState.h"
#include "app/LoadBar.h"
#include "app/MainWindow.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterLoadBarClass(instance)) {
        return 1;
    }
    if (!RegisterMainWindowClass(instance)) {
        return 2;
    }

    int exitCode = 0;
    bool workerMayRun = false;
    {
        AppState state;
        const HWND window = CreateMainWindow(state, instance);
        if (!window) {
            return 3;
        }
        ShowWindow(window, showCommand);
        UpdateWindow(window);

        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        exitCode = static_cast<int>(message.wParam);
        workerMayRun = state.scanning || state.samplePending;
    }
    // A detached worker may still be inside the scan; returning would run the static destructors
    // (knowledge tables, runtime locale data) under it. Ending the process here skips them.
    if (workerMayRun) {
        ExitProcess(static_cast<UINT>(exitCode));
    }
    return exitCode;
}
