#include "export/Utf8File.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::string Bytes(std::initializer_list<unsigned char> values) {
    return std::string(values.begin(), values.end());
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::set<std::wstring> Entries(const fs::path& folder) {
    std::set<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().wstring());
    }
    return names;
}

class WriteUtf8FileTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / (L"velquist-utf8-" + std::to_wstring(GetCurrentProcessId()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path folder_;
};

}  // namespace

TEST(ToUtf8, EmptyTextIsTheMarkOrNothing) {
    EXPECT_EQ(ToUtf8(L"", true), Bytes({0xEF, 0xBB, 0xBF}));
    EXPECT_EQ(ToUtf8(L"", false), "");
}

TEST(ToUtf8, ConvertsEveryUnitOfTheText) {
    EXPECT_EQ(ToUtf8(L"ä", false), Bytes({0xC3, 0xA4}));
    EXPECT_EQ(ToUtf8(L"ä", true), Bytes({0xEF, 0xBB, 0xBF, 0xC3, 0xA4}));
    EXPECT_EQ(ToUtf8(L"a\nb\r\n", false), "a\nb\r\n");
    EXPECT_EQ(ToUtf8(L"– · \x2028", false),
              Bytes({0xE2, 0x80, 0x93, ' ', 0xC2, 0xB7, ' ', 0xE2, 0x80, 0xA8}));
    EXPECT_EQ(ToUtf8(L"\xD83D\xDE00", false), Bytes({0xF0, 0x9F, 0x98, 0x80}));
    // An embedded NUL must not end the conversion early.
    EXPECT_EQ(ToUtf8(std::wstring(L"a\0b", 3), false), std::string("a\0b", 3));
}

TEST(ToUtf8, LoneSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(ToUtf8(L"\xD800x\xDC00", false), Bytes({0xEF, 0xBF, 0xBD, 'x', 0xEF, 0xBF, 0xBD}));
}

TEST(ToUtf8, LongTextKeepsItsLength) {
    const std::wstring text(300000, L'ü');
    const std::string bytes = ToUtf8(text, true);
    ASSERT_EQ(bytes.size(), 3 + 2 * text.size());
    EXPECT_EQ(bytes.substr(bytes.size() - 2), Bytes({0xC3, 0xBC}));
}

TEST_F(WriteUtf8FileTest, WritesExactlyTheConvertedBytes) {
    const fs::path target = folder_ / L"bericht.txt";
    ASSERT_TRUE(WriteUtf8File(target.wstring(), L"Größe\nZeile\n", true));
    EXPECT_EQ(ReadBytes(target), "\xEF\xBB\xBF" "Gr\xC3\xB6\xC3\x9F" "e\nZeile\n");
    EXPECT_EQ(Entries(folder_), std::set<std::wstring>{L"bericht.txt"});
}

TEST_F(WriteUtf8FileTest, EmptyTextGivesMarkOnlyOrEmptyFile) {
    const fs::path withMark = folder_ / L"mit.txt";
    const fs::path without = folder_ / L"ohne.json";
    ASSERT_TRUE(WriteUtf8File(withMark.wstring(), L"", true));
    ASSERT_TRUE(WriteUtf8File(without.wstring(), L"", false));
    EXPECT_EQ(ReadBytes(withMark), Bytes({0xEF, 0xBB, 0xBF}));
    ASSERT_TRUE(fs::exists(without));
    EXPECT_EQ(fs::file_size(without), 0u);
}

TEST_F(WriteUtf8FileTest, ReplacesALongerExistingFile) {
    const fs::path target = folder_ / L"bericht.json";
    WriteBytes(target, std::string(10000, 'x'));
    ASSERT_TRUE(WriteUtf8File(target.wstring(), L"{}\n", false));
    EXPECT_EQ(ReadBytes(target), "{}\n");
    ASSERT_TRUE(WriteUtf8File(target.wstring(), L"[]\n", false));
    EXPECT_EQ(ReadBytes(target), "[]\n");
    EXPECT_EQ(Entries(folder_), std::set<std::wstring>{L"bericht.json"});
}

TEST_F(WriteUtf8FileTest, AcceptsForwardSlashesAndLongNames) {
    const std::wstring longName = std::wstring(240, L'n') + L".json";
    const std::wstring target = folder_.generic_wstring() + L"/" + longName;
    ASSERT_TRUE(WriteUtf8File(target, L"ä", false));
    EXPECT_EQ(ReadBytes(folder_ / longName), Bytes({0xC3, 0xA4}));
    EXPECT_EQ(Entries(folder_), std::set<std::wstring>{longName});
}

TEST_F(WriteUtf8FileTest, RelativePathLandsInTheCurrentFolder) {
    const fs::path previous = fs::current_path();
    fs::current_path(folder_);
    const bool written = WriteUtf8File(L"relativ.txt", L"r", false);
    fs::current_path(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(ReadBytes(folder_ / L"relativ.txt"), "r");
    EXPECT_EQ(Entries(folder_), std::set<std::wstring>{L"relativ.txt"});
}

TEST_F(WriteUtf8FileTest, MissingFolderFailsAndCreatesNothing) {
    const fs::path target = folder_ / L"fehlt" / L"bericht.txt";
    EXPECT_FALSE(WriteUtf8File(target.wstring(), L"text", true));
    EXPECT_FALSE(fs::exists(folder_ / L"fehlt"));
    EXPECT_TRUE(Entries(folder_).empty());
    EXPECT_FALSE(WriteUtf8File(L"", L"text", true));
}

TEST_F(WriteUtf8FileTest, PathThatIsAFolderFailsAndLeavesNoTemporaryFile) {
    const fs::path target = folder_ / L"ordner";
    fs::create_directory(target);
    WriteBytes(target / L"drin.txt", "bleibt");
    EXPECT_FALSE(WriteUtf8File(target.wstring(), L"text", false));
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(ReadBytes(target / L"drin.txt"), "bleibt");
    EXPECT_EQ(Entries(folder_), std::set<std::wstring>{L"ordner"});
    EXPECT_EQ(Entries(target), std::set<std::wstring>{L"drin.txt"});
}

TEST_F(WriteUtf8FileTest, FailedReplaceKeepsTheEarlierFileWhole) {
    const fs::path target = folder_ / L"bericht.txt";
    WriteBytes(target, "alter Bericht");
    {
        // Another program holds the file open without sharing.
        HANDLE held = CreateFileW(target.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const bool written = WriteUtf8File(target.wstring(), L"neuer Bericht", true);
        CloseHandle(held);
        EXPECT_FALSE(written);
    }
    EXPECT_EQ(ReadBytes(target), "alter Bericht");
    EXPECT_EQ(Entries(folder_), std::set<std::wstring>{L"bericht.txt"});
}

TEST_F(WriteUtf8FileTest, ReadOnlyTargetIsRefusedAndKeepsContentAndAttribute) {
    const fs::path target = folder_ / L"bericht.txt";
    WriteBytes(target, "schreibgeschützt");
    ASSERT_TRUE(SetFileAttributesW(target.wstring().c_str(), FILE_ATTRIBUTE_READONLY));
    const bool written = WriteUtf8File(target.wstring(), L"neu", true);
    const DWORD attributes = GetFileAttributesW(target.wstring().c_str());
    SetFileAttributesW(target.wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(target), "schreibgeschützt");
    EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(Entries(folder_), std::set<std::wstring>{L"bericht.txt"});
}

TEST_F(WriteUtf8FileTest, StrayFileWithATemporaryLookingNameIsNotTouched) {
    // Whatever else sits in the folder, only the target changes.
    WriteBytes(folder_ / L"~velquist-fremd.tmp", "fremd");
    const fs::path target = folder_ / L"bericht.txt";
    ASSERT_TRUE(WriteUtf8File(target.wstring(), L"neu", false));
    EXPECT_EQ(ReadBytes(folder_ / L"~velquist-fremd.tmp"), "fremd");
    EXPECT_EQ(Entries(folder_), (std::set<std::wstring>{L"bericht.txt", L"~velquist-fremd.tmp"}));
}
