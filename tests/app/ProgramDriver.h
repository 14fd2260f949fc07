#pragma once

// Drives the real Velquist.exe from another process, through its window handles only.

#include "app/AppState.h"

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using Clock = std::chrono::steady_clock;

inline constexpr auto kScanTimeout = std::chrono::seconds(45);

// VELQUIST_EXE names the program; by default it is the one at the build root, beside tests/.
inline std::wstring ProgramPath() {
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

inline bool WaitUntil(const std::function<bool()>& done, Clock::duration timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Class names compare without case, as the system looks them up.
inline std::wstring ClassOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    CharLowerW(name);
    return name;
}

// Messages to the program never block the test for long, even when it hangs.
inline LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

inline std::wstring TextOf(HWND window) {
    const auto length = Send(window, WM_GETTEXTLENGTH);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

inline bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.rfind(prefix, 0) == 0;
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

inline Children FindChildren(HWND main) {
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


inline bool ScanFinished(HWND status) {
    return StartsWith(TextOf(status), L"Analyse abgeschlossen: ");
}

