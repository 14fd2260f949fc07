// Starts the real Velquist.exe and checks it from outside, through its window handles only.

#include "ProgramDriver.h"
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
