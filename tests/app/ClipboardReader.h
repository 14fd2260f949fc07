#pragma once

#include <windows.h>

#include <string>

// The clipboard's Unicode text, or "<not opened>" when another window keeps it open for a
// whole second (the program under test may be writing it at that moment).
inline std::wstring ReadClipboardText(HWND owner = nullptr) {
    bool open = false;
    for (int attempt = 0; attempt < 50 && !(open = OpenClipboard(owner) != FALSE); ++attempt) {
        Sleep(20);
    }
    if (!open) {
        return L"<not opened>";
    }
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}
