#pragma once

// Replacing a file without ever leaving a half-written one: the bytes go to a fresh file
// beside the target, which takes the target's name only once every byte is on disk.

#include <cstdint>
#include <string>
#include <string_view>

enum class FileReplaceResult {
    Written,
    OpenFailed,   // no file could be created beside the target, or the target cannot be replaced
    WriteFailed,  // writing or closing the new file failed
};

// Writes `size` bytes to the open file; false when not all of them were taken.
// Tests pass their own to make the write fail as a full disk does.
using FileSink = bool (*)(void* file, const char* data, uint32_t size);

FileReplaceResult ReplaceFileWithBytes(const std::wstring& path, std::string_view bytes, FileSink sink = nullptr);
