#include "app/Clipboard.h"

#include <cstring>

namespace {

// Owns a global memory block until the clipboard accepts it.
class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T bytes) : handle(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~GlobalBlock() {
        if (handle) {
            GlobalFree(handle);
        }
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    HGLOBAL Get() const { return handle; }
    void Release() { handle = nullptr; }

private:
    HGLOBAL handle;
};

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open) {
            CloseClipboard();
        }
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    bool IsOpen() const { return open; }

private:
    bool open;
};

} // namespace

bool PutClipboardText(HWND owner, const std::wstring& text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    GlobalBlock block(bytes);
    if (!block.Get()) {
        return false;
    }
    void* target = GlobalLock(block.Get());
    if (!target) {
        return false;
    }
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(block.Get());

    OpenedClipboard clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard()) {
        return false;
    }
    if (!SetClipboardData(CF_UNICODETEXT, block.Get())) {
        return false;
    }
    block.Release();  // the clipboard owns it now
    return true;
}
