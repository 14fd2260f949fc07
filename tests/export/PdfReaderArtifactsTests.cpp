// Writes PDFs of several reports to artifacts/export/ for the host-side readers
// (pdf-check.py: qpdf, pdfinfo, pdftotext, pdftoppm). Beside each PDF goes a UTF-8 list of
// what a reader must find in it: the page count, then one text per line.

#include "export/PdfDocument.h"
#include "export/PdfLayout.h"

#include "PdfTestReports.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const fs::path kArtifacts = fs::path("artifacts") / "export";

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// A text a reader can be asked to find: printable, held whole by Windows-1252, short
// enough to stay on the page.
bool IsFindable(const std::wstring& text) {
    if (text.empty() || text.size() > 80 || text.find_first_not_of(L' ') == std::wstring::npos) {
        return false;
    }
    for (const wchar_t c : text) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0 && c != 0x80)) {
            return false;
        }
    }
    BOOL lossy = FALSE;
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                        &lossy);
    return !lossy;
}

// The texts the layout puts on the pages, shortened as it shortens them.
std::vector<std::wstring> FindableTexts(const HardwareReport& report) {
    std::vector<std::wstring> texts;
    auto add = [&texts](const std::wstring& text) {
        if (IsFindable(text)) {
            texts.push_back(text);
        }
    };
    for (const ReportCategory& category : report.categories) {
        add(category.name);
        for (const ReportRecord& record : category.records) {
            add(Truncate(record.title, 86));
            for (const ReportField& field : record.fields) {
                add(Truncate(field.first, 36));
                add(Truncate(field.second, 78));
            }
        }
    }
    for (const std::wstring& hint : report.hints) {
        add(Truncate(hint, 105));
    }
    return texts;
}

void WriteArtifact(const std::string& name, const HardwareReport& report, size_t minimumPages) {
    fs::create_directories(kArtifacts);
    const fs::path pdf = kArtifacts / (name + ".pdf");
    const fs::path expect = kArtifacts / (name + ".expect");
    fs::remove(pdf);
    fs::remove(expect);

    std::wstring error;
    ASSERT_TRUE(WritePdfReport(pdf.wstring(), report, error)) << ToUtf8(error);

    std::vector<PdfPage> pages(1);
    DrawReportPages(pages, report);
    EXPECT_GE(pages.size(), minimumPages);
    std::ofstream out(expect, std::ios::binary);
    out << "pages " << pages.size() << '\n';
    for (const std::wstring& text : FindableTexts(report)) {
        out << ToUtf8(text) << '\n';
    }
    ASSERT_TRUE(out.good());
}

HardwareReport SmallReport() {
    HardwareReport report;
    report.created = L"07.12.2026 04:45:41";
    report.load = {12, 48, -1, -1};
    report.categories.push_back(PdfTestCategory(
        L"Aktuelle Auslastung", {PdfTestRecord(L"Systemlast", {{L"CPU-Auslastung", L"12 %"},
                                                               {L"Arbeitsspeicher belegt", L"48 %"},
                                                               {L"Datenträger-Auslastung", L"Nicht gemeldet"}})}));
    report.categories.push_back(PdfTestCategory(
        L"Arbeitsspeicher", {PdfTestRecord(L"Speicherübersicht", {{L"Gesamt", L"15.54 GB"},
                                                                   {L"Belegt/zugewiesen", L"7.46 GB"},
                                                                   {L"Steckplätze", L"1 von 1 belegt"}})}));
    report.hints.push_back(L"DXGI nicht verfügbar – Grafikdaten aus WMI");
    return report;
}

HardwareReport AwkwardReport() {
    std::wstring controls;
    for (wchar_t c = 1; c < 0x20; ++c) {
        controls += c;
    }
    HardwareReport report;
    report.created = L"Prüfung (äöüß) \\ · – € \x4E2D";
    report.load = {INT32_MIN, 0, 100, INT32_MAX};
    report.categories.push_back(PdfTestCategory(
        L"Klammern ((( und \\ Pfade",
        {PdfTestRecord(L"Titel mit ) Tj ET ( Einschub",
                       {{L"Pfad", L"C:\\Programme\\(x86)\\"},
                        {L"Nur auf", L"((("},
                        {L"Nur zu", L")))"},
                        {L"Zeichen", L"Größe · Preis 5 € – Punkt • Ende"},
                        {L"Steuerzeichen", L"A" + controls + L"B"},
                        {L"Zeilen\x2028Trenner", L"Absatz\x2029" L"Ende"},
                        {L"Emoji", L"Lächeln \xD83D\xDE00 Note \xD834\xDD1E"},
                        {L"Einzelne Surrogate", L"a\xD800" L"b\xDC00" L"c"},
                        {L"", L""},
                        {L"Leerer Wert", L""},
                        {L"Sehr langer Wert", std::wstring(5000, L'x')},
                        {std::wstring(300, L'L'), L"kurz"},
                        {L"SSD-Temperatur", L"71 °C"},
                        {L"Belegt/zugewiesen", L"95 GB"}}),
         PdfTestRecord(L"", {{L"Ohne Titel", L"Ja"}})}));
    report.categories.push_back(PdfTestCategory(std::wstring(400, L'K') + L" Kategorie", {}));
    report.categories.push_back(PdfTestCategory(L"中文 Kategorie", {PdfTestRecord(L"中文", {{L"中", L"文"}})}));
    report.hints = {L"Hinweis mit (Klammer", L"", controls, std::wstring(2000, L'h'), L"\\"};
    return report;
}

HardwareReport LongReport() {
    static const wchar_t* const names[] = {
        L"Aktuelle Auslastung", L"System",         L"Windows",         L"Prozessor",
        L"Mainboard & BIOS",    L"Arbeitsspeicher", L"Laufwerke",      L"Partitionen & Volumes",
        L"Grafik",              L"Monitore",       L"Netzwerk",        L"Audio & Headsets",
        L"Eingabegeräte",       L"Kameras & Scanner", L"Drucker",      L"Bluetooth",
        L"USB-Controller",      L"Biometrie",      L"Sensoren",        L"Sicherheit & Firmware",
    };
    static const ReportField fields[] = {
        {L"Hersteller", L"Contoso Ltd."},    {L"Modell", L"Modell 4711 (Rev. B)"},
        {L"Status", L"OK"},                  {L"Zustand", L"Warnung: Lüfter langsam"},
        {L"Treiber", L"Deaktiviert"},        {L"Temperatur", L"86 °C"},
        {L"SSD-Temperatur", L"64 °C"},       {L"CPU-Auslastung", L"73 %"},
        {L"SSD-Restlebensdauer", L"45 %"},   {L"Belegt/zugewiesen", L"512 GB"},
        {L"Seriennummer", L"SN-0042-ÄÖÜ"},   {L"Vorhanden", L"Ja"},
    };
    HardwareReport report;
    report.created = L"07.12.2026 05:00:00";
    report.load = {33, 71, 95, -1};
    for (size_t c = 0; c < std::size(names); ++c) {
        std::vector<ReportRecord> records;
        for (size_t r = 0; r < 1 + c % 3; ++r) {
            ReportRecord record;
            record.title = std::wstring(names[c]) + L" – Gerät " + std::to_wstring(r + 1);
            for (size_t f = 0; f < 3 + (c + r) % 8; ++f) {
                record.fields.push_back(fields[(c * 5 + r * 3 + f) % std::size(fields)]);
            }
            records.push_back(std::move(record));
        }
        report.categories.push_back(PdfTestCategory(names[c], std::move(records)));
    }
    for (int i = 1; i <= 12; ++i) {
        report.hints.push_back(L"WMI-Abfrage fehlgeschlagen: 0x80041001 – Hinweis " + std::to_wstring(i));
    }
    return report;
}

}  // namespace

TEST(PdfReaderArtifacts, WritesReportsForTheHostReaders) {
    WriteArtifact("pdf-small", SmallReport(), 1);
    WriteArtifact("pdf-awkward", AwkwardReport(), 1);
    WriteArtifact("pdf-long", LongReport(), 4);
}
