#include "export/FileReplace.h"

#include <windows.h>

#include <utility>

namespace {

class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(FileHandle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

    // Closing can be where a deferred write error shows, so its result counts.
    bool Close() {
        if (!IsOpen()) {
            return false;
        }
        const BOOL closed = CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
        return closed != FALSE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

bool WriteWholeChunk(void* file, const char* data, uint32_t size) {
    DWORD written = 0;
    return WriteFile(static_cast<HANDLE>(file), data, size, &written, nullptr) && written == size;
}

// A short name of our own in the target's folder: the move into place stays on one volume, a
// suffix on a long target name could pass the component limit, and CREATE_NEW never opens a
// file someone else left there.
FileHandle CreateSiblingFile(const std::wstring& path, std::wstring& siblingPath) {
    const size_t separator = path.find_last_of(L"\\/:");
    const std::wstring folder = separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
    const std::wstring stem = folder + L"~velquist-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        siblingPath = stem + std::to_wstring(attempt) + L".tmp";
        FileHandle file(CreateFileW(siblingPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (file.IsOpen() || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return FileHandle();
}

bool WriteAll(const FileHandle& file, std::string_view bytes, FileSink sink) {
    // One call for any file this program writes; larger data goes in pieces the API can take.
    constexpr size_t kLargestChunk = 0x40000000;
    while (!bytes.empty()) {
        const size_t chunk = bytes.size() < kLargestChunk ? bytes.size() : kLargestChunk;
        if (!sink(file.Get(), bytes.data(), static_cast<uint32_t>(chunk))) {
            return false;
        }
        bytes.remove_prefix(chunk);
    }
    return true;
}

// Windows refuses to move a file over a read-only one; Wine replaces it and drops the attribute.
// Asking first keeps such a file on every platform.
bool IsReadOnlyFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace

FileReplaceResult ReplaceFileWithBytes(const std::wstring& path, std::string_view bytes, FileSink sink) {
    if (IsReadOnlyFile(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FileReplaceResult::OpenFailed;
    }
    std::wstring siblingPath;
    FileHandle file = CreateSiblingFile(path, siblingPath);
    if (!file.IsOpen()) {
        return FileReplaceResult::OpenFailed;
    }
    const bool written = WriteAll(file, bytes, sink ? sink : WriteWholeChunk);
    const bool closed = file.Close();
    if (!written || !closed) {
        DeleteFileW(siblingPath.c_str());
        return FileReplaceResult::WriteFailed;
    }
    if (!MoveFileExW(siblingPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(siblingPath.c_str());
        return FileReplaceResult::OpenFailed;
    }
    return FileReplaceResult::Written;
}
