// Exports through the program's real save dialog and copies through its real clipboard command.

#include "ProgramDriver.h"
#include "ClipboardReader.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr int kFileNameBox = 0x47C;
constexpr int kFileTypeBox = 0x470;

struct DialogSearch {
    DWORD processId;
    bool wantSaveDialog;
    HWND found;
};

// The save dialog and the message boxes are both of the dialog class; only the save dialog has
// the file name box.
HWND WaitForDialog(DWORD processId, bool saveDialog, Clock::duration timeout = 15s) {
    DialogSearch search{processId, saveDialog, nullptr};
    WaitUntil(
        [&] {
            search.found = nullptr;
            EnumWindows(
                [](HWND window, LPARAM param) {
                    auto* wanted = reinterpret_cast<DialogSearch*>(param);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner != wanted->processId || !IsWindowVisible(window) || ClassOf(window) != L"#32770") {
                        return TRUE;
                    }
                    if ((GetDlgItem(window, kFileNameBox) != nullptr) == wanted->wantSaveDialog) {
                        wanted->found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeout);
    return search.found;
}

std::wstring DialogTexts(HWND dialog) {
    std::wstring texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == L"static") {
            texts += TextOf(child);
        }
    }
    return texts;
}

// Items of the dialog's file type box, read across the process boundary.
std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const auto count = Send(combo, CB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        items.push_back(text);
    }
    return items;
}

// What the save dialog proposed, and the caption and text of the message box after it.
struct ExportSeen {
    std::wstring proposedName;
    std::vector<std::wstring> fileTypes;
    std::wstring caption;
    std::wstring text;
};

// What a successful export shows: its own type first in the dialog, then the confirmation.
void ExpectSaved(const ExportSeen& seen, const std::wstring& text, const std::wstring& proposedName,
                 const std::wstring& fileType) {
    EXPECT_EQ(seen.text, text);
    EXPECT_EQ(seen.caption, L"Velquist");
    EXPECT_EQ(seen.proposedName, proposedName);
    EXPECT_EQ(seen.fileTypes, (std::vector<std::wstring>{fileType, L"Alle Dateien (*.*)"}));
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::wstring FreshFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"velquist-export-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

class ExportEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.started());
        main = program.WaitForMainWindow(20s);
        ASSERT_NE(main, nullptr);
        children = FindChildren(main);
        ASSERT_EQ(children.statics.size(), 3u);
        status = children.statics[2];
        ASSERT_TRUE(WaitUntil([&] { return ScanFinished(status); }, kScanTimeout));
    }

    void TearDown() override {
        if (main) {
            PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
            EXPECT_EQ(program.WaitForExit(10000), 0u);
        }
    }

    // Runs one export command: types the path into the save dialog, answers the question
    // whether to replace an existing file with yes, and reads the message box before
    // confirming it.
    ExportSeen Export(int command, const std::wstring& path, bool replacing = false) {
        ExportSeen seen;
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        const HWND dialog = WaitForDialog(GetProcessId(program.process()), true);
        if (!dialog) {
            seen.text = L"<no save dialog>";
            return seen;
        }
        seen.proposedName = TextOf(GetDlgItem(dialog, kFileNameBox));
        seen.fileTypes = ComboItems(GetDlgItem(dialog, kFileTypeBox));
        Send(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        if (replacing) {
            const HWND question = WaitForDialog(GetProcessId(program.process()), false);
            if (!question) {
                seen.text = L"<no question>";
                return seen;
            }
            PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            WaitUntil([&] { return !IsWindow(question); }, 5s);
        }
        const HWND box = WaitForDialog(GetProcessId(program.process()), false);
        if (!box) {
            seen.text = L"<no message box>";
            return seen;
        }
        seen.caption = TextOf(box);
        seen.text = DialogTexts(box);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitUntil([&] { return !IsWindow(box); }, 5s);
        return seen;
    }

    RunningProgram program;
    HWND main = nullptr;
    Children children;
    HWND status = nullptr;
};

} // namespace

TEST_F(ExportEndToEnd, WritesTxtJsonAndPdfThroughTheSaveDialog) {
    const std::wstring folder = FreshFolder();
    const std::wstring txt = folder + L"\\bericht.txt";
    const std::wstring json = folder + L"\\bericht.json";
    const std::wstring pdf = folder + L"\\bericht.pdf";
    // Wine reuses process ids, so an earlier run may have left the folder behind.
    for (const std::wstring& path : {txt, json, pdf}) {
        DeleteFileW(path.c_str());
    }

    const ExportSeen txtSeen = Export(IDC_EXPORT_TXT, txt);
    ExpectSaved(txtSeen, L"Der Hardwarebericht wurde erfolgreich gespeichert.", L"Velquist_Bericht.txt", L"Textdateien (*.txt)");
    const std::string txtBytes = ReadFileBytes(txt);
    EXPECT_EQ(txtBytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(txtBytes.find("Aktuelle Auslastung"), std::string::npos);
    EXPECT_EQ(txtBytes.find('\r'), std::string::npos);

    const ExportSeen jsonSeen = Export(IDC_EXPORT_JSON, json);
    ExpectSaved(jsonSeen, L"Der Hardwarebericht wurde erfolgreich gespeichert.", L"Velquist_Bericht.json", L"JSON-Dateien (*.json)");
    const std::string jsonBytes = ReadFileBytes(json);
    ASSERT_FALSE(jsonBytes.empty());
    EXPECT_EQ(jsonBytes[0], '{');
    EXPECT_NE(jsonBytes.find("\"Aktuelle Auslastung\""), std::string::npos);

    const ExportSeen pdfSeen = Export(IDC_EXPORT_PDF, pdf);
    ExpectSaved(pdfSeen, L"Der grafische PDF-Hardwarebericht wurde erfolgreich gespeichert.", L"Velquist_Hardwarebericht.pdf", L"PDF-Dateien (*.pdf)");
    const std::string pdfBytes = ReadFileBytes(pdf);
    EXPECT_EQ(pdfBytes.substr(0, 8), "%PDF-1.4");
    EXPECT_EQ(pdfBytes.substr(pdfBytes.size() - 6), "%%EOF\n");

    // Saving over an existing file asks first; confirming replaces it whole.
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_EXPORT_TXT, 0), 0);
    const HWND dialog = WaitForDialog(GetProcessId(program.process()), true);
    ASSERT_NE(dialog, nullptr);
    Send(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(json.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    const HWND prompt = WaitForDialog(GetProcessId(program.process()), false);
    ASSERT_NE(prompt, nullptr);
    EXPECT_NE(DialogTexts(prompt), L"");
    PostMessageW(prompt, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }, 5s));
    const HWND box = WaitForDialog(GetProcessId(program.process()), false);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogTexts(box), L"Der Hardwarebericht wurde erfolgreich gespeichert.");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    WaitUntil([&] { return !IsWindow(box); }, 5s);
    // The live load values may have changed since the first export, so compare the shape.
    const std::string replaced = ReadFileBytes(json);
    const size_t firstLineEnd = txtBytes.find('\n');
    EXPECT_EQ(replaced.substr(0, firstLineEnd), txtBytes.substr(0, firstLineEnd))
        << "the confirmed export did not replace the file";

    for (const std::wstring& path : {txt, json, pdf}) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

// Every closed dialog costs Wine about two seconds here, so one case covers cancel and refusal.
TEST_F(ExportEndToEnd, CancelShowsNothingAndReadOnlyFilesAreRefused) {
    const DWORD processId = GetProcessId(program.process());
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_EXPORT_TXT, 0), 0);
    const HWND dialog = WaitForDialog(processId, true);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5s));
    EXPECT_EQ(WaitForDialog(processId, false, 500ms), nullptr) << "a message box after cancel";

    const std::wstring folder = FreshFolder();
    struct Refusal {
        int command;
        const wchar_t* name;
        const wchar_t* failure;
    };
    const Refusal refusals[] = {
        {IDC_EXPORT_JSON, L"schreibgeschuetzt.json",
         L"Der Hardwarebericht konnte nicht gespeichert werden. Prüfen Sie Zielordner und Zugriffsrechte."},
        {IDC_EXPORT_PDF, L"schreibgeschuetzt.pdf",
         L"Der PDF-Bericht konnte nicht gespeichert werden.\n\nDie PDF-Datei konnte nicht zum Schreiben geöffnet werden."}};
    for (const auto& [command, name, failure] : refusals) {
        const std::wstring path = folder + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        {
            std::ofstream(std::filesystem::path(path), std::ios::binary) << "alt";
        }
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
        const ExportSeen refused = Export(command, path, true);
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const std::string kept = ReadFileBytes(path);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());

        EXPECT_EQ(refused.caption, L"Velquist");
        EXPECT_EQ(refused.text, std::wstring(failure));
        EXPECT_EQ(kept, "alt");
        EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u);
    }
    RemoveDirectoryW(folder.c_str());
}

TEST_F(ExportEndToEnd, CopiesTheShownCategoryOrTheSelection) {
    Send(children.details, EM_SETSEL, 0, 0);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_COPY_CATEGORY, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(status) == L"Aktuelle Kategorie wurde in die Zwischenablage kopiert."; }, 5s));
    const std::wstring category = ReadClipboardText();
    EXPECT_TRUE(StartsWith(category, L"Aktuelle Auslastung\r\n\r\n[Livewerte – automatische Aktualisierung alle 5 Sekunden]\r\n"
                                     L"CPU-Auslastung: "))
        << testing::PrintToString(category.substr(0, 120));

    // "  Aktuelle Auslastung" opens the details pane; select the name alone.
    Send(children.details, EM_SETSEL, 2, 21);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_COPY_CATEGORY, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(status) == L"Der markierte Text wurde kopiert."; }, 5s));
    EXPECT_EQ(ReadClipboardText(), L"Aktuelle Auslastung");
}
