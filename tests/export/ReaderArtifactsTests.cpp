// Writes awkward reports to artifacts/export/ for the host-side check (json-check.py), which
// rebuilds the same reports on its own and reads the files with strict, independent readers.
// Any change to a report here must be made there as well.

#include "export/JsonReport.h"
#include "export/TextReport.h"
#include "export/Utf8File.h"

#include "ReportBuilders.h"

#include <climits>
#include <filesystem>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::wstring Controls() {
    std::wstring text;
    for (wchar_t unit = 0; unit < 0x20; ++unit) {
        text += unit;
    }
    return text;
}

std::wstring Repeat(const std::wstring& pattern, size_t times) {
    std::wstring text;
    text.reserve(pattern.size() * times);
    for (size_t i = 0; i < times; ++i) {
        text += pattern;
    }
    return text;
}

HardwareReport ControlsReport() {
    const std::wstring controls = Controls();
    HardwareReport report;
    report.created = L"07.12.2026 04:45:41";
    report.load = {INT32_MIN, 0, 100, INT32_MAX};
    report.categories.push_back(MakeCategory(
        L"Steuer" + controls,
        {MakeRecord(controls + L"Titel", {{controls, controls},
                                          {L"\"Zitat\"", L"\\Pfad\\\""},
                                          {L"Tab\tLabel", L"Wert\x7f/"},
                                          {L"Doppelt", L"1"},
                                          {L"Doppelt", L"2"}}),
         MakeRecord(L"")}));
    report.categories.push_back(MakeCategory(L"Leer"));
    report.hints = {controls, L"\"", L"\\", L""};
    return report;
}

HardwareReport UnicodeReport() {
    HardwareReport report;
    report.created = L"Prüfung äöüß ÄÖÜ · – €";
    report.categories.push_back(MakeCategory(
        L"Zeilen\x2028Trenner\x2029" L"Absatz",
        {MakeRecord(L"Emoji \xD83D\xDE00 und Noten \xD834\xDD1E",
                    {{L"einsam hoch", L"\xD800"},
                     {L"einsam tief", L"x\xDC00y"},
                     {L"zwei hohe", L"\xDBFF\xD800"},
                     {L"\xDFFF Ende", L"verkehrt \xDE00\xD83D"},
                     {L"BOM mitten", L"\xFEFF" L"a\xFFFF"}})}));
    report.hints = {L"\x2028", L"Größe – Wert · Einheit"};
    return report;
}

HardwareReport HugeReport() {
    HardwareReport report;
    report.created = L"07.12.2026 04:45:41";
    ReportCategory category = MakeCategory(
        L"Groß", {MakeRecord(std::wstring(100000, L'Ü'),
                             {{L"Wert", Repeat(L"ä\"\\\n\x01€\xD83D\xDE00", 125000)},
                              {std::wstring(5000, L'L'), L"langes Label"}})});
    for (int n = 0; n < 2000; ++n) {
        ReportRecord record = MakeRecord(L"Eintrag " + std::to_wstring(n));
        for (int k = 0; k < 10; ++k) {
            record.fields.emplace_back(L"Feld " + std::to_wstring(k),
                                       L"Wert " + std::to_wstring(n) + L"." + std::to_wstring(k));
        }
        category.records.push_back(std::move(record));
    }
    report.categories.push_back(std::move(category));
    report.hints = {std::wstring(300000, L'\\')};
    return report;
}

void WriteBoth(const fs::path& folder, const std::wstring& name, const HardwareReport& report) {
    const fs::path base = folder / (L"awkward-" + name);
    EXPECT_TRUE(WriteUtf8File(base.wstring() + L".json", BuildJsonReport(report), false)) << base;
    EXPECT_TRUE(WriteUtf8File(base.wstring() + L".txt", BuildTextReport(report), true)) << base;
}

}  // namespace

TEST(ReaderArtifacts, WritesAwkwardReportsForTheHostReaders) {
    const fs::path folder = fs::current_path() / L"artifacts" / L"export";
    fs::create_directories(folder);
    WriteBoth(folder, L"controls", ControlsReport());
    WriteBoth(folder, L"unicode", UnicodeReport());
    WriteBoth(folder, L"huge", HugeReport());
    WriteBoth(folder, L"empty", HardwareReport());
}
