#include "app/MainWindow.h"

#include "app/CategoryView.h"
#include "app/Commands.h"
#include "app/Controls.h"
#include "app/Layout.h"
#include "app/Palette.h"
#include "app/ReportView.h"
#include "app/Workers.h"
#include "model/Version.h"

#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <dwmapi.h>
#include <richedit.h>

namespace {

constexpr int kMinTrackWidth = 980;
constexpr int kMinTrackHeight = 650;
// DWMWA_USE_IMMERSIVE_DARK_MODE; older SDK headers lack the name.
constexpr DWORD kDarkModeAttribute = 20;

template <typename T>
std::unique_ptr<T> TakePayload(LPARAM lParam) {
    return std::unique_ptr<T>(reinterpret_cast<T*>(lParam));
}

LRESULT TreeCustomDraw(AppState& state, HWND window, WPARAM wParam, LPARAM lParam) {
    auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(lParam);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const auto caret = static_cast<DWORD_PTR>(SendMessageW(state.categoryTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        const bool selected = caret == draw->nmcd.dwItemSpec;
        draw->clrText = selected ? WhiteColor : TextColor;
        draw->clrTextBk = selected ? SelectionColor : PanelColor;
        return CDRF_NEWFONT;
    }
    default:
        return DefWindowProcW(window, WM_NOTIFY, wParam, lParam);
    }
}

LRESULT OnNotify(AppState& state, HWND window, WPARAM wParam, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->idFrom == static_cast<UINT_PTR>(IDC_TREE)) {
        if (header->code == TVN_SELCHANGEDW) {
            const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
            RenderCategory(state, static_cast<size_t>(change->itemNew.lParam));
            return 0;
        }
        if (header->code == NM_CUSTOMDRAW) {
            return TreeCustomDraw(state, window, wParam, lParam);
        }
    }
    return DefWindowProcW(window, WM_NOTIFY, wParam, lParam);
}

void ShowDetailsContextMenu(AppState& state, HWND window, LPARAM lParam) {
    MenuHandle menu = BuildDetailsContextMenu(state.detailsView);
    if (!menu) {
        return;
    }
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // Opened from the keyboard: no position comes with the message.
    if (at.x == -1 && at.y == -1) {
        GetCursorPos(&at);
    }
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
    RunDetailsMenuCommand(state, chosen);
}

LRESULT OnCommand(AppState& state, HWND window, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_RESCAN:
        StartScan(state);
        return 0;
    case IDC_EXPORT_TXT:
        ExportTextOrJson(state, false);
        return 0;
    case IDC_EXPORT_JSON:
        ExportTextOrJson(state, true);
        return 0;
    case IDC_COPY_CATEGORY:
        CopyToClipboard(state);
        return 0;
    case IDC_EXPORT_PDF:
        ExportPdf(state);
        return 0;
    case IDM_EXIT:
        DestroyWindow(window);
        return 0;
    default:
        return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    }
}

LRESULT OnControlColour(AppState& state, WPARAM wParam, LPARAM lParam) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    const auto control = reinterpret_cast<HWND>(lParam);
    // The read-only EDIT fallback of the details pane asks for its colours this way.
    if (control == state.detailsView) {
        SetBkColor(dc, PanelColor);
        SetTextColor(dc, TextColor);
        return reinterpret_cast<LRESULT>(state.panelBrush.get());
    }
    SetBkColor(dc, WindowColor);
    const bool secondary = control == state.subtitleLabel || control == state.statusLabel;
    SetTextColor(dc, secondary ? SecondaryTextColor : TextColor);
    return reinterpret_cast<LRESULT>(state.windowBrush.get());
}

void OnCreate(AppState& state, HWND window) {
    state.windowBrush.reset(CreateSolidBrush(WindowColor));
    state.panelBrush.reset(CreateSolidBrush(PanelColor));
    CreateMainMenu(window);
    CreateMainControls(state);
    const BOOL dark = TRUE;
    DwmSetWindowAttribute(window, kDarkModeAttribute, &dark, sizeof dark);
    PostMessageW(window, WM_APP_START_SCAN, 0, 0);
}

void OnDestroy(AppState& state, HWND window) {
    KillTimer(window, LOAD_TIMER_ID);
    state.bodyFont.reset();
    state.titleFont.reset();
    state.windowBrush.reset();
    state.panelBrush.reset();
    state.treeIcons.reset();
    PostQuitMessage(0);
}

LRESULT HandleMessage(AppState& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(state, window);
        return 0;
    case WM_DESTROY:
        OnDestroy(state, window);
        return 0;
    case WM_SIZE:
        LayoutControls(state, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, state.windowBrush.get());
        return 1;
    }
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
        return 0;
    }
    case WM_NOTIFY:
        return OnNotify(state, window, wParam, lParam);
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) != state.detailsView) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        ShowDetailsContextMenu(state, window, lParam);
        return 0;
    case WM_COMMAND:
        return OnCommand(state, window, wParam, lParam);
    case WM_TIMER:
        if (wParam != LOAD_TIMER_ID) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        StartLoadSample(state);
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnControlColour(state, wParam, lParam);
    case WM_APP_START_SCAN:
        StartScan(state);
        return 0;
    case WM_APP_SCAN_PROGRESS:
        OnScanProgress(state, TakePayload<ProgressMessage>(lParam));
        return 0;
    case WM_APP_SCAN_DONE:
        OnScanDone(state, TakePayload<HardwareReport>(lParam));
        return 0;
    case WM_APP_LOAD_SAMPLE:
        OnLoadSample(state, TakePayload<LoadSnapshot>(lParam));
        return 0;
    case WM_APP_SCAN_FAILED:
        RecoverFromFailedScan(state);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

std::wstring MainWindowTitle() {
    return L"Velquist · " + BuildVersionLine();
}

HWND CreateMainWindow(AppState& state, HINSTANCE instance) {
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const Box frame = CenteredWindowBox(workArea.left, workArea.top, workArea.right, workArea.bottom,
                                        kMainWindowWidth, kMainWindowHeight);
    const std::wstring title = MainWindowTitle();
    return CreateWindowExW(0, kMainWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, frame.x,
                           frame.y, frame.width, frame.height, nullptr, nullptr, instance, &state);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<AppState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        state = static_cast<AppState*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (state) {
            state->hwnd = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // Messages before WM_NCCREATE, such as the first WM_GETMINMAXINFO, find no state yet.
    if (!state) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return HandleMessage(*state, window, message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's dispatcher; the message counts as handled.
        return 0;
    }
}

MenuHandle BuildDetailsContextMenu(HWND details) {
    CHARRANGE range{0, 0};
    SendMessageW(details, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    MenuHandle menu(CreatePopupMenu());
    if (menu) {
        const UINT copyFlags = MF_STRING | (range.cpMax <= range.cpMin ? MF_GRAYED : MF_ENABLED);
        AppendMenuW(menu.get(), copyFlags, IDM_COPY_SELECTION, L"Markierten Text kopieren");
        AppendMenuW(menu.get(), MF_STRING, IDM_SELECT_ALL, L"Alles markieren");
    }
    return menu;
}

void RunDetailsMenuCommand(AppState& state, int command) {
    if (command == IDM_COPY_SELECTION) {
        SendMessageW(state.detailsView, WM_COPY, 0, 0);
        SetWindowTextW(state.statusLabel, L"Der markierte Text wurde kopiert.");
    } else if (command == IDM_SELECT_ALL) {
        SendMessageW(state.detailsView, EM_SETSEL, 0, -1);
    }
}

void EnableActions(AppState& state, bool on) {
    const bool withReport = on && state.report != nullptr;
    EnableWindow(state.rescanButton, on);
    EnableWindow(state.txtButton, withReport);
    EnableWindow(state.jsonButton, withReport);
    EnableWindow(state.pdfButton, withReport);
    EnableWindow(state.copyButton, withReport);
}

void OnScanProgress(AppState& state, std::unique_ptr<ProgressMessage> progress) {
    if (!progress) {
        return;
    }
    SetWindowTextW(state.statusLabel, progress->text.c_str());
    SendMessageW(state.progressBar, PBM_SETPOS, static_cast<WPARAM>(progress->percent), 0);
}

void OnScanDone(AppState& state, std::unique_ptr<HardwareReport> report) {
    state.report = std::move(report);
    state.scanning = false;
    PopulateCategoryTree(state);
    SyncLoadTiles(state);
    EnableActions(state, true);
    SendMessageW(state.progressBar, PBM_SETPOS, 100, 0);
    SetWindowTextW(state.statusLabel, ScanSummaryText(state.report.get()).c_str());
    SetTimer(state.hwnd, LOAD_TIMER_ID, kLoadTimerPeriodMs, nullptr);
}

void OnLoadSample(AppState& state, std::unique_ptr<LoadSnapshot> snapshot) {
    state.samplePending = false;
    if (!snapshot || !state.report || state.scanning) {
        return;
    }
    HardwareReport& report = *state.report;
    report.load = *snapshot;
    UpdateLiveLoadCategory(report);
    SyncLoadTiles(state);
    if (state.selectedCategory >= report.categories.size() ||
        !IsLiveLoadCategory(report.categories[state.selectedCategory])) {
        return;
    }
    CHARRANGE selection{0, 0};
    SendMessageW(state.detailsView, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    RenderCategory(state, state.selectedCategory);
    if (selection.cpMin < selection.cpMax) {
        SendMessageW(state.detailsView, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    }
}
