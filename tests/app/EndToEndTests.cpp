// Starts the real Velquist.exe and checks it from outside, through its window handles only.

#include "app/AppState.h"
#include "model/Version.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kScanTimeout = 45s;

// VELQUIST_EXE names the program; by default it is the one at the build root, beside tests/.
std::wstring ProgramPath() {
    std::wstring path(32768, L'\0');
    const DWORD configured = GetEnvironmentVariableW(L"VELQUIST_EXE", path.data(), static_cast<DWORD>(path.size()));
    if (configured > 0 && configured < path.size()) {
        path.resize(configured);
        return path;
    }
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    path.erase(path.find_last_of(L"\\/"));
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + L"Velquist.exe";
}

bool WaitUntil(const std::function<bool()>& done, Clock::duration timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// Class names compare without case, as the system looks them up.
std::wstring ClassOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    CharLowerW(name);
    return name;
}

// Messages to the program never block the test for long, even when it hangs.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND window) {
    const auto length = Send(window, WM_GETTEXTLENGTH);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The number in front of `unit` in the status line, e.g. 14 for " Kategorien".
long NumberBefore(const std::wstring& text, const std::wstring& unit) {
    const size_t end = text.find(unit);
    if (end == std::wstring::npos) {
        return -1;
    }
    size_t start = end;
    while (start > 0 && iswdigit(text[start - 1])) {
        --start;
    }
    return start == end ? -1 : std::wcstol(text.c_str() + start, nullptr, 10);
}

class RunningProgram {
public:
    RunningProgram() {
        std::wstring path = ProgramPath();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + path + L"\"";
        started_ = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process_) != FALSE;
    }
    ~RunningProgram() {
        if (!started_) {
            return;
        }
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return started_; }
    HANDLE process() const { return process_.hProcess; }

    HWND WaitForMainWindow(Clock::duration timeout) {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                found = nullptr;
                HWND candidate = nullptr;
                while ((candidate = FindWindowExW(nullptr, candidate, L"Orvenna.Velquist.MainWindow", nullptr))) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(candidate, &owner);
                    if (owner == process_.dwProcessId && IsWindowVisible(candidate)) {
                        found = candidate;
                    }
                }
                return found != nullptr;
            },
            timeout);
        return found;
    }

    // The exit code, or STILL_ACTIVE when the program has not ended in time.
    DWORD WaitForExit(DWORD milliseconds) {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process_.hProcess, &code);
        }
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

struct Children {
    std::vector<HWND> statics;
    std::vector<HWND> tiles;
    HWND tree = nullptr;
    HWND details = nullptr;
    HWND progress = nullptr;
    std::vector<HWND> buttons;  // in the order rescan, TXT, JSON, PDF, copy
};

Children FindChildren(HWND main) {
    Children children;
    std::vector<HWND> all;
    EnumChildWindows(
        main,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    for (HWND child : all) {
        const std::wstring name = ClassOf(child);
        if (name == L"static") {
            children.statics.push_back(child);
        } else if (name == L"orvenna.velquist.loadbar") {
            children.tiles.push_back(child);
        }
    }
    children.tree = GetDlgItem(main, IDC_TREE);
    children.details = GetDlgItem(main, IDC_DETAILS);
    children.progress = GetDlgItem(main, IDC_PROGRESS);
    for (int id : {IDC_RESCAN, IDC_EXPORT_TXT, IDC_EXPORT_JSON, IDC_EXPORT_PDF, IDC_COPY_CATEGORY}) {
        children.buttons.push_back(GetDlgItem(main, id));
    }
    return children;
}

std::vector<bool> ButtonStates(const Children& children) {
    std::vector<bool> states;
    for (HWND button : children.buttons) {
        states.push_back(IsWindowEnabled(button) != FALSE);
    }
    return states;
}

// Tree items live in the program's memory: the query structure and the text buffer go there too.
std::vector<std::wstring> RemoteTreeTexts(HANDLE process, HWND tree) {
    std::vector<std::wstring> texts;
    constexpr size_t textChars = 512;
    const size_t bytes = sizeof(TVITEMW) + textChars * sizeof(wchar_t);
    auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE));
    if (!remote) {
        return texts;
    }
    auto item = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item) {
        TVITEMW query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
        query.cchTextMax = textChars;
        std::vector<wchar_t> text(textChars, L'\0');
        if (!WriteProcessMemory(process, remote, &query, sizeof query, nullptr) ||
            !Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote)) ||
            !ReadProcessMemory(process, remote + sizeof(TVITEMW), text.data(), textChars * sizeof(wchar_t), nullptr)) {
            break;
        }
        text.back() = L'\0';
        texts.emplace_back(text.data());
        item = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return texts;
}

bool ScanFinished(HWND status) {
    return StartsWith(TextOf(status), L"Analyse abgeschlossen: ");
}

} // namespace

TEST(EndToEnd, ScansShowsRefreshesRescansAndExits) {
    RunningProgram program;
    ASSERT_TRUE(program.started()) << "cannot start the program: error " << GetLastError();
    const HWND main = program.WaitForMainWindow(20s);
    ASSERT_NE(main, nullptr);

    EXPECT_EQ(TextOf(main), L"Velquist · " + BuildVersionLine());
    const Children children = FindChildren(main);
    ASSERT_EQ(children.statics.size(), 3u);
    ASSERT_EQ(children.tiles.size(), 4u);
    EXPECT_EQ(ClassOf(children.tree), L"systreeview32");
    EXPECT_EQ(ClassOf(children.details), L"richedit50w");
    EXPECT_EQ(ClassOf(children.progress), L"msctls_progress32");
    for (HWND button : children.buttons) {
        EXPECT_EQ(ClassOf(button), L"button");
    }
    EXPECT_EQ(TextOf(children.statics[0]), L"Velquist");
    EXPECT_EQ(TextOf(children.buttons[0]), L"↻  Neu analysieren");
    const HWND status = children.statics[2];

    ASSERT_TRUE(WaitUntil([&] { return ScanFinished(status); }, kScanTimeout)) << "status: " << testing::PrintToString(TextOf(status));
    const auto scanFinished = Clock::now();
    const std::wstring summary = TextOf(status);

    // One tree item per category, the live load first, record counts adding up to the summary.
    const std::vector<std::wstring> items = RemoteTreeTexts(program.process(), children.tree);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(static_cast<long>(items.size()), NumberBefore(summary, L" Kategorien"));
    EXPECT_TRUE(StartsWith(items[0], L"Aktuelle Auslastung  (")) << testing::PrintToString(items[0]);
    long records = 0;
    for (const std::wstring& item : items) {
        records += NumberBefore(item, L")");
    }
    EXPECT_EQ(records, NumberBefore(summary, L" Datensätze"));

    const std::wstring details = TextOf(children.details);
    EXPECT_TRUE(StartsWith(details, L"  Aktuelle Auslastung")) << testing::PrintToString(details.substr(0, 80));
    EXPECT_NE(details.find(L"CPU-Auslastung:  "), std::wstring::npos);

    for (HWND tile : children.tiles) {
        RECT client{};
        GetClientRect(tile, &client);
        EXPECT_TRUE(IsWindowVisible(tile));
        EXPECT_EQ(client.bottom, 48);
        EXPECT_GE(client.right, 170);
    }
    EXPECT_EQ(ButtonStates(children), std::vector<bool>(5, true));

    // A load refresh re-renders the shown live-load category and puts a text selection back.
    Send(children.details, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Platzhalter vor der Auffrischung"));
    Send(children.details, EM_SETSEL, 2, 9);
    ASSERT_TRUE(WaitUntil([&] { return StartsWith(TextOf(children.details), L"  Aktuelle Auslastung"); }, 15s));
    EXPECT_GE(Clock::now() - scanFinished, 4s);
    DWORD start = 0;
    DWORD end = 0;
    Send(children.details, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 9u);

    // Rescan through the button: everything disabled while it runs, enabled again after.
    Send(children.buttons[0], BM_CLICK);
    EXPECT_EQ(ButtonStates(children), std::vector<bool>(5, false));
    EXPECT_FALSE(ScanFinished(status));
    ASSERT_TRUE(WaitUntil([&] { return ScanFinished(status); }, kScanTimeout));
    EXPECT_EQ(ButtonStates(children), std::vector<bool>(5, true));
    EXPECT_TRUE(StartsWith(TextOf(children.details), L"  Aktuelle Auslastung"));

    // "Beenden" in the menu.
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}

TEST(EndToEnd, ClosingDuringTheScanExitsCleanly) {
    RunningProgram program;
    ASSERT_TRUE(program.started());
    const HWND main = program.WaitForMainWindow(20s);
    ASSERT_NE(main, nullptr);
    const Children children = FindChildren(main);
    ASSERT_EQ(children.statics.size(), 3u);
    const HWND status = children.statics[2];
    ASSERT_TRUE(WaitUntil([&] { return TextOf(status) != L"Bereit"; }, 10s));
    EXPECT_FALSE(ScanFinished(status)) << "the scan ended before the window could be closed";
    EXPECT_FALSE(IsWindowEnabled(children.buttons[0]));

    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}
