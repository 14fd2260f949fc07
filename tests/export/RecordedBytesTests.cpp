// Whole files compared with the bytes recorded from the exporters, so that work on how they build
// their text cannot change a single byte. The build date is pinned: it would change the bytes daily.

#include "export/JsonReport.h"
#include "export/PdfLayout.h"
#include "export/TextReport.h"
#include "export/Utf8File.h"

#include "ReportBuilders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr wchar_t kBuildDate[] = L"05.03.2024";
constexpr wchar_t kVersionLine[] = L"Version 1.4.1 · kompiliert am 05.03.2024";

uint64_t Fnv1a64(const std::string& bytes) {
    uint64_t hash = 0xCBF29CE484222325ULL;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    }
    return hash;
}

// Awkward texts of every kind the writers treat apart, and enough fields for four PDF pages.
HardwareReport RecordedReport() {
    HardwareReport report;
    report.created = L"07.12.2026 04:45:41";
    report.load = LoadSnapshot{95, 70, -1, 130};
    report.categories.push_back(MakeCategory(
        L"Aktuelle Auslastung",
        {MakeRecord(L"Momentaufnahme", {{L"CPU-Auslastung", L"37 %"},
                                        {L"Arbeitsspeicher belegt", L"91 % · 29,1 GB von 32 GB"},
                                        {L"Belegt/zugewiesen", L"412,7 GB"},
                                        {L"GPU-Auslastung", kNotReported}})}));
    report.categories.push_back(MakeCategory(L"Drucker"));
    report.categories.push_back(MakeCategory(
        L"Laufwerke",
        {MakeRecord(L"Samsung SSD 980 PRO 1TB (\"System\") \\ Datenträger 0 – ein Titel, der länger ist als die "
                    L"Zeile breit",
                    {{L"SSD-Temperatur", L"65 °C"},
                     {L"Maximal zulässige SSD-Temperatur", L"85 °C"},
                     {L"SSD-Restlebensdauer", L"45 %"},
                     {L"Zustand", L"Ungesund"},
                     {L"PnP-Geräte-ID", L"SCSI\\DISK&VEN_NVME&PROD_SAMSUNG\\5&2B3C&0&000000"},
                     {L"Eine Bezeichnung mit genau 37 Zeichen", L"Wert mit\tTab, \x01 Steuerzeichen und Zeilen\numbruch"},
                     {L"Eine Bezeichnung, die länger ist als die Spalte", L"ok"},
                     {L"Leer", L""},
                     {L"Zeichen", L"€ • × 😀 \xD800 (Klammern) / Schrägstrich \x7F"}}),
         MakeRecord(L"Ohne Felder")}));
    ReportCategory sensors = MakeCategory(L"Sensoren");
    for (int r = 0; r < 12; ++r) {
        ReportRecord record = MakeRecord(L"Sensor " + std::to_wstring(r));
        for (int f = 0; f < 12; ++f) {
            const int n = (r * 12 + f) * 7 % 100;
            record.fields.emplace_back(f % 2 ? L"Temperatur" : L"Kritische Temperatur",
                                       std::to_wstring(n) + L"," + std::to_wstring(f) + L" °C");
        }
        record.fields.emplace_back(L"Status", r % 3 == 0 ? L"Ja" : r % 3 == 1 ? L"ja" : L"Deaktiviert");
        sensors.records.push_back(record);
    }
    report.categories.push_back(sensors);
    report.categories.push_back(MakeCategory(
        L"Sicherheit & Firmware", {MakeRecord(L"Firmware", {{L"Secure Boot", L"Aktiviert"}, {L"TPM", L"Warnung"}})}));
    report.hints = {
        L"WMI-Abfrage fehlgeschlagen: 0x80041001 – IDispatch error #3585 | SELECT * FROM Win32_PnPEntity WHERE "
        L"Present=True AND (PNPClass='Camera')",
        L"",
        L"DXGI nicht verfügbar: \"0x887A0004\"",
    };
    return report;
}

}  // namespace

TEST(RecordedBytes, TextFileKeepsItsBytes) {
    const std::string bytes = ToUtf8(BuildTextReportWithBuildDate(RecordedReport(), kBuildDate), true);
    EXPECT_EQ(bytes.size(), 9659u);
    EXPECT_EQ(Fnv1a64(bytes), 0x6bb7a65ccf93b6afULL);
}

TEST(RecordedBytes, JsonFileKeepsItsBytes) {
    const std::string bytes = ToUtf8(BuildJsonReportWithBuildDate(RecordedReport(), kBuildDate), false);
    EXPECT_EQ(bytes.size(), 6804u);
    EXPECT_EQ(Fnv1a64(bytes), 0xefb54389d5036bbcULL);
}

TEST(RecordedBytes, PdfFileKeepsItsBytes) {
    std::vector<PdfPage> pages(1);
    DrawReportPages(pages, RecordedReport(), kVersionLine);
    const std::string bytes = AssemblePdfDocument(pages);
    EXPECT_EQ(pages.size(), 4u);
    EXPECT_EQ(bytes.size(), 39823u);
    EXPECT_EQ(Fnv1a64(bytes), 0x4d1648ace64ba823ULL);
}
