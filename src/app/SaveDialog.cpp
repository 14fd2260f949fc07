#include "app/SaveDialog.h"

#include <commdlg.h>

#include <vector>

namespace {

// The program is long-path aware, so the classic MAX_PATH buffer would turn a long choice into
// a silent cancel (FNERR_BUFFERTOOSMALL).
constexpr DWORD kPathBufferLength = 32768;

} // namespace

SaveDialogChoice AskSavePath(HWND owner, const wchar_t* defaultName, const wchar_t* filter,
                             const wchar_t* defaultExtension) {
    std::vector<wchar_t> buffer(kPathBufferLength, L'\0');
    lstrcpynW(buffer.data(), defaultName, static_cast<int>(buffer.size()));

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kPathBufferLength;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER;

    SaveDialogChoice choice;
    if (GetSaveFileNameW(&dialog)) {
        choice.path = buffer.data();
    } else {
        choice.dialogError = CommDlgExtendedError();
    }
    return choice;
}
