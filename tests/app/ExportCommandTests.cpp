// The export and copy commands inside the test process, where failures can be forced.

#include "WindowFixture.h"
#include "ClipboardReader.h"

#include "app/Clipboard.h"
#include "app/Commands.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

namespace {

std::wstring BuildingRunsOutOfMemory(const HardwareReport&) {
    throw std::bad_alloc();
}

std::string ReadAll(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Counts the top-level windows this thread tries to open (save dialog, message box) and keeps
// each from opening, so a command that wrongly shows one cannot block the test.
class TopLevelWindowBlocker {
public:
    TopLevelWindowBlocker() : hook_(SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId())) { attempts = 0; }
    ~TopLevelWindowBlocker() {
        if (hook_) {
            UnhookWindowsHookEx(hook_);
        }
    }
    TopLevelWindowBlocker(const TopLevelWindowBlocker&) = delete;
    TopLevelWindowBlocker& operator=(const TopLevelWindowBlocker&) = delete;

    bool active() const { return hook_ != nullptr; }
    static inline int attempts = 0;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND && !(reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->style & WS_CHILD)) {
            ++attempts;
            return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_;
};

std::unique_ptr<HardwareReport> OneCategoryReport() {
    auto report = std::make_unique<HardwareReport>();
    report->categories.push_back({L"System", {ReportRecord{L"PC", {{L"Hersteller", L"Wine"}}}}});
    return report;
}

} // namespace

TEST(SaveReportText, TextThatCannotBeBuiltFailsAndLeavesTheEarlierFile) {
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"velquist-save-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\bericht.txt";
    {
        std::ofstream(path.c_str(), std::ios::binary) << "alter Bericht";
    }
    const bool saved = SaveReportText(path, HardwareReport{}, BuildingRunsOutOfMemory, true);
    const std::string kept = ReadAll(path);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*.tmp").c_str(), &found);
    const bool leftover = search != INVALID_HANDLE_VALUE;
    if (leftover) {
        FindClose(search);
    }
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());

    EXPECT_FALSE(saved);
    EXPECT_EQ(kept, "alter Bericht");
    EXPECT_FALSE(leftover);
}

TEST_F(MainWindowTest, ExportAndCopyWithoutAReportShowNothingAndChangeNothing) {
    ASSERT_TRUE(PutClipboardText(nullptr, L"alt"));
    TopLevelWindowBlocker blocker;
    ASSERT_TRUE(blocker.active());

    ExportTextOrJson(state, false);
    ExportTextOrJson(state, true);
    ExportPdf(state);
    CopyToClipboard(state);
    EXPECT_EQ(TopLevelWindowBlocker::attempts, 0);
    EXPECT_EQ(WindowText(state.statusLabel), L"Bereit");
    EXPECT_EQ(ReadClipboardText(window), L"alt");

    // With a report the same command does ask for a file: the blocker sees every dialog.
    OnScanDone(state, OneCategoryReport());
    ExportTextOrJson(state, false);
    EXPECT_GT(TopLevelWindowBlocker::attempts, 0);
}

TEST_F(MainWindowTest, CopyThatCannotOpenTheClipboardKeepsTheStatusLine) {
    OnScanDone(state, OneCategoryReport());
    SetWindowTextW(state.statusLabel, L"unverändert");
    // While another window holds the clipboard open, the copy cannot open it.
    HWND holder = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(holder, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    CopyToClipboard(state);
    CloseClipboard();
    DestroyWindow(holder);
    EXPECT_EQ(WindowText(state.statusLabel), L"unverändert");
}
