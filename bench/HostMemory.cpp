#include "BenchFile.h"
#include "HostMemory.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

std::string ReadWhole(const std::wstring& path) {
    BenchFile file(path, GENERIC_READ, OPEN_EXISTING);
    std::string text;
    if (!file.IsOpen()) {
        return text;
    }
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    return text;
}

}  // namespace

HostMemory::HostMemory() {
    wchar_t pid[32] = {};
    const DWORD length = GetEnvironmentVariableW(L"VELQUIST_BENCH_UNIX_PID", pid, 32);
    if (length == 0 || length >= 32) {
        return;
    }
    folder_ = std::wstring(L"Z:\\proc\\") + pid + L"\\";
    available_ = ReadWhole(folder_ + L"status").find("VmHWM:") != std::string::npos;
}

void HostMemory::ResetPeak() const {
    if (!available_) {
        return;
    }
    // "5" resets the peak resident size to the current one (Linux 4.0 and later).
    BenchFile file(folder_ + L"clear_refs", GENERIC_WRITE, OPEN_EXISTING);
    DWORD written = 0;
    if (file.IsOpen()) {
        WriteFile(file.Get(), "5", 1, &written, nullptr);
    }
}

size_t HostMemory::Read(const char* key) const {
    if (!available_) {
        return 0;
    }
    const std::string status = ReadWhole(folder_ + L"status");
    const size_t at = status.find(key);
    if (at == std::string::npos) {
        return 0;
    }
    return static_cast<size_t>(std::strtoull(status.c_str() + at + std::strlen(key), nullptr, 10)) * 1024;
}
