#include "export/PdfDocument.h"
#include "export/FileReplace.h"
#include "export/PdfLayout.h"

#include "PdfTestReports.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

const std::wstring kOpenFailed = L"Die PDF-Datei konnte nicht zum Schreiben geöffnet werden.";
const std::wstring kWriteFailed = L"Beim Schreiben des PDF-Berichts ist ein Fehler aufgetreten.";

// A folder of its own per test, removed with everything in it afterwards.
class PdfWriteTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
        folder_ = std::wstring(temp) + L"velquist-pdf-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(GetTickCount64());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    }

    void TearDown() override {
        for (const std::wstring& name : FileNames()) {
            DeleteFileW((folder_ + L"\\" + name).c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }

    std::wstring PathOf(const std::wstring& name) const { return folder_ + L"\\" + name; }

    std::vector<std::wstring> FileNames() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder_ + L"\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(name);
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return names;
    }

    static std::string ReadAll(const std::wstring& path) {
        std::ifstream in(path.c_str(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    static void WriteText(const std::wstring& path, const std::string& text) {
        std::ofstream out(path.c_str(), std::ios::binary);
        out << text;
    }

    std::wstring folder_;
};

HardwareReport SmallReport() {
    HardwareReport report;
    report.created = L"07.12.2026 04:50:00";
    report.categories.push_back(PdfTestCategory(L"Prozessor", {PdfTestRecord(L"CPU 0", {{L"Kerne", L"8"}})}));
    report.hints.push_back(L"Ein Hinweis");
    return report;
}

// Takes half the bytes and then fails, as a disk that runs full does.
bool HalfThenFail(void* file, const char* data, uint32_t size) {
    DWORD written = 0;
    WriteFile(static_cast<HANDLE>(file), data, size / 2, &written, nullptr);
    return false;
}

std::string sunkBytes;
bool RecordingSink(void* file, const char* data, uint32_t size) {
    sunkBytes.append(data, size);
    DWORD written = 0;
    return WriteFile(static_cast<HANDLE>(file), data, size, &written, nullptr) && written == size;
}

}  // namespace

TEST_F(PdfWriteTest, WritesTheAssembledDocumentAndLeavesTheErrorTextAlone) {
    const HardwareReport report = SmallReport();
    std::wstring error = L"unberührt";
    ASSERT_TRUE(WritePdfReport(PathOf(L"bericht.pdf"), report, error));
    EXPECT_EQ(error, L"unberührt");

    std::vector<PdfPage> pages(1);
    DrawReportPages(pages, report);
    EXPECT_EQ(ReadAll(PathOf(L"bericht.pdf")), AssemblePdfDocument(pages));
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"bericht.pdf"});
}

TEST_F(PdfWriteTest, ReplacesAnEarlierFileOfThatName) {
    WriteText(PathOf(L"bericht.pdf"), std::string(100000, 'x'));
    std::wstring error;
    ASSERT_TRUE(WritePdfReport(PathOf(L"bericht.pdf"), SmallReport(), error));
    const std::string written = ReadAll(PathOf(L"bericht.pdf"));
    EXPECT_EQ(written.rfind("%PDF-1.4\n", 0), 0u);
    EXPECT_EQ(written.substr(written.size() - 6), "%%EOF\n");
    EXPECT_EQ(written.find('x' + std::string(10, 'x')), std::string::npos);
    EXPECT_EQ(FileNames().size(), 1u);
}

// A name near the file system's component limit leaves no room for a suffix on the
// temporary file that is written first.
TEST_F(PdfWriteTest, FileNameNearTheLengthLimitIsWritten) {
    const std::wstring longName = std::wstring(248, L'n') + L".pdf";
    WriteText(PathOf(longName), "alt");
    std::wstring error;
    ASSERT_TRUE(WritePdfReport(PathOf(longName), SmallReport(), error)) << error.size();
    EXPECT_EQ(ReadAll(PathOf(longName)).rfind("%PDF-1.4\n", 0), 0u);
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{longName});
}

TEST_F(PdfWriteTest, MissingFolderGivesTheOpenErrorAndNoFile) {
    std::wstring error;
    EXPECT_FALSE(WritePdfReport(PathOf(L"fehlt\\bericht.pdf"), SmallReport(), error));
    EXPECT_EQ(error, kOpenFailed);
    EXPECT_TRUE(FileNames().empty());
}

TEST_F(PdfWriteTest, TargetThatIsAFolderIsNotReplacedAndNothingIsLeft) {
    ASSERT_TRUE(CreateDirectoryW(PathOf(L"ordner.pdf").c_str(), nullptr));
    std::wstring error;
    EXPECT_FALSE(WritePdfReport(PathOf(L"ordner.pdf"), SmallReport(), error));
    EXPECT_EQ(error, kOpenFailed);
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"ordner.pdf"});
    RemoveDirectoryW(PathOf(L"ordner.pdf").c_str());
}

TEST_F(PdfWriteTest, LockedTargetKeepsItsContentAndNothingIsLeft) {
    WriteText(PathOf(L"bericht.pdf"), "alt");
    HANDLE locked = CreateFileW(PathOf(L"bericht.pdf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    std::wstring error;
    const bool written = WritePdfReport(PathOf(L"bericht.pdf"), SmallReport(), error);
    CloseHandle(locked);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, kOpenFailed);
    EXPECT_EQ(ReadAll(PathOf(L"bericht.pdf")), "alt");
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"bericht.pdf"});
}

TEST_F(PdfWriteTest, ReadOnlyTargetGivesTheOpenErrorAndStaysAsItWas) {
    WriteText(PathOf(L"bericht.pdf"), "alt");
    ASSERT_TRUE(SetFileAttributesW(PathOf(L"bericht.pdf").c_str(), FILE_ATTRIBUTE_READONLY));
    std::wstring error;
    const bool written = WritePdfReport(PathOf(L"bericht.pdf"), SmallReport(), error);
    const DWORD attributes = GetFileAttributesW(PathOf(L"bericht.pdf").c_str());
    SetFileAttributesW(PathOf(L"bericht.pdf").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, kOpenFailed);
    EXPECT_EQ(ReadAll(PathOf(L"bericht.pdf")), "alt");
    EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"bericht.pdf"});
}

TEST_F(PdfWriteTest, FailedWriteKeepsTheEarlierFileAndRemovesThePartialOne) {
    WriteText(PathOf(L"bericht.pdf"), "alt");
    EXPECT_EQ(ReplaceFileWithBytes(PathOf(L"bericht.pdf"), std::string(5000, 'n'), HalfThenFail),
              FileReplaceResult::WriteFailed);
    EXPECT_EQ(ReadAll(PathOf(L"bericht.pdf")), "alt");
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"bericht.pdf"});
}

TEST_F(PdfWriteTest, FailedWriteGivesTheWriteErrorNotTheOpenError) {
    WriteText(PathOf(L"bericht.pdf"), "alt");
    std::wstring error;
    EXPECT_FALSE(WritePdfReport(PathOf(L"bericht.pdf"), SmallReport(), error, HalfThenFail));
    EXPECT_EQ(error, kWriteFailed);
    EXPECT_EQ(ReadAll(PathOf(L"bericht.pdf")), "alt");
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"bericht.pdf"});
}

TEST_F(PdfWriteTest, FailedWriteOfANewFileLeavesNothing) {
    EXPECT_EQ(ReplaceFileWithBytes(PathOf(L"neu.pdf"), std::string(5000, 'n'), HalfThenFail),
              FileReplaceResult::WriteFailed);
    EXPECT_TRUE(FileNames().empty());
}

TEST_F(PdfWriteTest, EveryByteGoesThroughTheSinkOnce) {
    sunkBytes.clear();
    constexpr char head[] = "%PDF\x00\xFF\n";
    const std::string bytes = std::string(head, sizeof head - 1) + std::string(70000, 'b');
    EXPECT_EQ(ReplaceFileWithBytes(PathOf(L"a.pdf"), bytes, RecordingSink), FileReplaceResult::Written);
    EXPECT_EQ(sunkBytes, bytes);
    EXPECT_EQ(ReadAll(PathOf(L"a.pdf")), bytes);
}

TEST_F(PdfWriteTest, LeftoverOfAnotherWriterBesideTheTargetIsNotTouched) {
    const std::wstring stranger = L"~velquist-" + std::to_wstring(GetCurrentProcessId()) + L"-0.tmp";
    WriteText(PathOf(stranger), "fremd");
    EXPECT_EQ(ReplaceFileWithBytes(PathOf(L"bericht.pdf"), "neu"), FileReplaceResult::Written);
    EXPECT_EQ(ReadAll(PathOf(stranger)), "fremd");
    EXPECT_EQ(ReadAll(PathOf(L"bericht.pdf")), "neu");
}
