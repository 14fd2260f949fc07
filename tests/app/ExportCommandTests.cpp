// The export and copy commands inside the test process, where failures can be forced.

#include "app/Commands.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <new>
#include <string>

namespace {

std::wstring BuildingRunsOutOfMemory(const HardwareReport&) {
    throw std::bad_alloc();
}

std::string ReadAll(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(SaveReportText, TextThatCannotBeBuiltFailsAndLeavesTheEarlierFile) {
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"velquist-save-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\bericht.txt";
    {
        std::ofstream(path.c_str(), std::ios::binary) << "alter Bericht";
    }
    const bool saved = SaveReportText(path, HardwareReport{}, BuildingRunsOutOfMemory, true);
    const std::string kept = ReadAll(path);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*.tmp").c_str(), &found);
    const bool leftover = search != INVALID_HANDLE_VALUE;
    if (leftover) {
        FindClose(search);
    }
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());

    EXPECT_FALSE(saved);
    EXPECT_EQ(kept, "alter Bericht");
    EXPECT_FALSE(leftover);
}
