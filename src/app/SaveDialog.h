#pragma once

#include <string>

#include <windows.h>

struct SaveDialogChoice {
    std::wstring path;      // empty when the user cancelled or the dialog failed
    DWORD dialogError = 0;  // CommDlgExtendedError() when the dialog itself failed
};

// The platform's save dialog, prompting before an existing file is overwritten.
// filter holds description/pattern pairs, each NUL-terminated, with a final extra NUL.
SaveDialogChoice AskSavePath(HWND owner, const wchar_t* defaultName, const wchar_t* filter,
                             const wchar_t* defaultExtension);
