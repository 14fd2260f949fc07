#include "export/Utf8File.h"

#include <windows.h>

#include <climits>
#include <optional>
#include <utility>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kByteOrderMarkSize = 3;

std::optional<std::string> ConvertToUtf8(const std::wstring& text, bool withBom) {
    std::string bytes;
    if (withBom) {
        bytes.assign(kByteOrderMark, kByteOrderMarkSize);
    }
    if (text.empty()) {
        return bytes;
    }
    if (text.size() > static_cast<size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return std::nullopt;
    }
    const size_t offset = bytes.size();
    bytes.resize(offset + static_cast<size_t>(needed));
    const int converted =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data() + offset, needed, nullptr, nullptr);
    if (converted != needed) {
        return std::nullopt;
    }
    return bytes;
}

// Owns one file handle; Close() reports whether the last buffered bytes reached the file.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

    bool Close() {
        if (!IsValid()) {
            return false;
        }
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// Deletes the temporary file unless it was moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            DeleteFileW(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& Path() const { return path_; }
    void Release() { path_.clear(); }

private:
    std::wstring path_;
};

// A short name in the target's folder: the move into place must stay on one volume, and a
// suffix on the target's own name could push a long file name past the component limit.
std::wstring TemporaryPathBeside(const std::wstring& target, unsigned attempt) {
    const size_t separator = target.find_last_of(L"\\/:");
    const std::wstring folder = separator == std::wstring::npos ? std::wstring() : target.substr(0, separator + 1);
    return folder + L"~velquist-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(attempt) + L".tmp";
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    if (bytes.size() > MAXDWORD) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return ok != FALSE && written == bytes.size();
}

}  // namespace

std::string ToUtf8(const std::wstring& text, bool withBom) {
    return ConvertToUtf8(text, withBom).value_or(std::string());
}

bool WriteUtf8File(const std::wstring& path, const std::wstring& text, bool withBom) {
    const std::optional<std::string> bytes = ConvertToUtf8(text, withBom);
    if (!bytes || path.empty()) {
        return false;
    }

    constexpr unsigned kAttempts = 16;
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
        TemporaryFile temporary(TemporaryPathBeside(path, attempt));
        // CREATE_NEW: never truncate a file that happens to carry the temporary name.
        FileHandle file(CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid()) {
            const DWORD error = GetLastError();
            temporary.Release();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
                continue;
            }
            return false;
        }
        if (!WriteAll(file.Get(), *bytes) || !file.Close()) {
            return false;
        }
        if (!MoveFileExW(temporary.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return false;
        }
        temporary.Release();
        return true;
    }
    return false;
}
