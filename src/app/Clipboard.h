#pragma once

#include <string>

#include <windows.h>

// Puts text on the clipboard as CF_UNICODETEXT. The memory is prepared before the clipboard is
// emptied, so a failure leaves the previous content in place; true only when the clipboard took it.
bool PutClipboardText(HWND owner, const std::wstring& text);
