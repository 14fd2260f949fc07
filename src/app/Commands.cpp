#include "app/Commands.h"

#include "app/CategoryText.h"
#include "app/Clipboard.h"
#include "app/SaveDialog.h"
#include "export/JsonReport.h"
#include "export/PdfDocument.h"
#include "export/TextReport.h"
#include "export/Utf8File.h"

#include <richedit.h>

#include <cwchar>
#include <exception>

namespace {

struct ExportKind {
    const wchar_t* defaultName;
    const wchar_t* filter;  // description/pattern pairs; the literal's own NUL ends the list
    const wchar_t* extension;
};

constexpr ExportKind kTextExport{L"Velquist_Bericht.txt",
                                 L"Textdateien (*.txt)\0*.txt\0Alle Dateien (*.*)\0*.*\0", L"txt"};
constexpr ExportKind kJsonExport{L"Velquist_Bericht.json",
                                 L"JSON-Dateien (*.json)\0*.json\0Alle Dateien (*.*)\0*.*\0", L"json"};
constexpr ExportKind kPdfExport{L"Velquist_Hardwarebericht.pdf",
                                L"PDF-Dateien (*.pdf)\0*.pdf\0Alle Dateien (*.*)\0*.*\0", L"pdf"};

constexpr wchar_t kCaption[] = L"Velquist";
constexpr wchar_t kSavedText[] = L"Der Hardwarebericht wurde erfolgreich gespeichert.";
constexpr wchar_t kSaveFailedText[] =
    L"Der Hardwarebericht konnte nicht gespeichert werden. Prüfen Sie Zielordner und Zugriffsrechte.";
constexpr wchar_t kPdfSavedText[] = L"Der grafische PDF-Hardwarebericht wurde erfolgreich gespeichert.";
constexpr wchar_t kPdfFailedText[] = L"Der PDF-Bericht konnte nicht gespeichert werden.\n\n";

void ShowMessage(const AppState& state, const std::wstring& text, UINT icon) {
    MessageBoxW(state.hwnd, text.c_str(), kCaption, MB_OK | icon);
}

std::wstring DialogErrorText(DWORD code) {
    wchar_t text[64];
    std::swprintf(text, 64, L"Der Speichern-Dialog meldete den Fehler 0x%lX.", static_cast<unsigned long>(code));
    return text;
}

SaveDialogChoice AskFor(const AppState& state, const ExportKind& kind) {
    return AskSavePath(state.hwnd, kind.defaultName, kind.filter, kind.extension);
}

} // namespace

bool SaveReportText(const std::wstring& path, const HardwareReport& report, ReportTextBuilder build, bool withBom) {
    // A report too large for memory must end in the failure message, not in an exception that
    // the window procedure swallows without a word. Nothing is written before the text is whole.
    try {
        return WriteUtf8File(path, build(report), withBom);
    } catch (const std::exception&) {
        return false;
    }
}

void ExportTextOrJson(AppState& state, bool json) {
    if (!state.report) {
        return;
    }
    const SaveDialogChoice choice = AskFor(state, json ? kJsonExport : kTextExport);
    if (choice.dialogError != 0) {
        ShowMessage(state, kSaveFailedText, MB_ICONERROR);
        return;
    }
    // A scan that finished while the dialog was open may have replaced the report.
    if (choice.path.empty() || !state.report) {
        return;
    }
    const bool ok = SaveReportText(choice.path, *state.report, json ? BuildJsonReport : BuildTextReport, !json);
    ShowMessage(state, ok ? kSavedText : kSaveFailedText, ok ? MB_ICONINFORMATION : MB_ICONERROR);
}

void ExportPdf(AppState& state) {
    if (!state.report) {
        return;
    }
    const SaveDialogChoice choice = AskFor(state, kPdfExport);
    if (choice.dialogError != 0) {
        ShowMessage(state, kPdfFailedText + DialogErrorText(choice.dialogError), MB_ICONERROR);
        return;
    }
    if (choice.path.empty() || !state.report) {
        return;
    }
    std::wstring error;
    if (WritePdfReport(choice.path, *state.report, error)) {
        ShowMessage(state, kPdfSavedText, MB_ICONINFORMATION);
    } else {
        ShowMessage(state, kPdfFailedText + error, MB_ICONERROR);
    }
}

void CopyToClipboard(AppState& state) {
    CHARRANGE selection{0, 0};
    SendMessageW(state.detailsView, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    if (selection.cpMax > selection.cpMin) {
        // The control copies in its own formats, keeping the colours for rich-text targets.
        SendMessageW(state.detailsView, WM_COPY, 0, 0);
        SetWindowTextW(state.statusLabel, L"Der markierte Text wurde kopiert.");
        return;
    }
    if (!state.report || state.selectedCategory >= state.report->categories.size()) {
        return;
    }
    const std::wstring text = BuildCategoryClipboardText(state.report->categories[state.selectedCategory]);
    if (PutClipboardText(state.hwnd, text)) {
        SetWindowTextW(state.statusLabel, L"Aktuelle Kategorie wurde in die Zwischenablage kopiert.");
    }
}
