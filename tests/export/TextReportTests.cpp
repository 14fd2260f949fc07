#include "export/TextReport.h"

#include "ReportBuilders.h"
#include "model/Version.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kRule(80, L'=');

std::wstring Header(const std::wstring& created) {
    return L"VELQUIST – HARDWAREBERICHT\n"
           L"Version: 1.4.1\n"
           L"Kompiliert am: " + FormatBuildDate() + L"\n"
           L"Erstellt: " + created + L"\n"
           L"\n";
}

}  // namespace

TEST(BuildTextReport, EmptyReportIsTheHeaderAlone) {
    HardwareReport report;
    EXPECT_EQ(BuildTextReport(report), Header(L""));
    report.created = L"07.12.2026 04:45:41";
    EXPECT_EQ(BuildTextReport(report), Header(L"07.12.2026 04:45:41"));
}

TEST(BuildTextReport, CategoryWithRecordsPadsLabelsAndClosesWithEmptyLine) {
    HardwareReport report;
    report.created = L"01.02.2026 03:04:05";
    report.categories.push_back(MakeCategory(
        L"Prozessor", {MakeRecord(L"CPU 0", {{L"Hersteller", L"Acme"}, {L"Kerne", L"8"}}),
                       MakeRecord(L"CPU 1", {{L"Hersteller", L"Acme"}})}));
    report.categories.push_back(MakeCategory(L"Grafik", {MakeRecord(L"GPU", {{L"Größe", L"8 GB"}})}));

    const std::wstring expected = Header(L"01.02.2026 03:04:05") +
        kRule + L"\nProzessor\n" + kRule + L"\n"
        L"\n[CPU 0]\n"
        L"Hersteller:                           Acme\n"
        L"Kerne:                                8\n"
        L"\n[CPU 1]\n"
        L"Hersteller:                           Acme\n"
        L"\n" +
        kRule + L"\nGrafik\n" + kRule + L"\n"
        L"\n[GPU]\n"
        L"Größe:                                8 GB\n"
        L"\n";
    EXPECT_EQ(BuildTextReport(report), expected);
}

TEST(BuildTextReport, CategoryWithoutRecordsSaysSoFollowedByTwoEmptyLines) {
    HardwareReport report;
    report.categories.push_back(MakeCategory(L"Drucker"));
    EXPECT_EQ(BuildTextReport(report),
              Header(L"") + kRule + L"\nDrucker\n" + kRule + L"\nKeine Daten von Windows gemeldet.\n\n\n");
}

TEST(BuildTextReport, RecordWithoutFieldsIsItsTitleOnly) {
    HardwareReport report;
    report.categories.push_back(MakeCategory(L"Audio", {MakeRecord(L"")}));
    EXPECT_EQ(BuildTextReport(report), Header(L"") + kRule + L"\nAudio\n" + kRule + L"\n\n[]\n\n");
}

TEST(BuildTextReport, LabelColumnIsThirtyEightUnitsWide) {
    const std::wstring label37(37, L'L');
    const std::wstring label38(38, L'M');
    HardwareReport report;
    report.categories.push_back(MakeCategory(
        L"K", {MakeRecord(L"R", {{L"Abcdefghij", L"v1"},
                                 {label37, L"v2"},
                                 {label38, L"v3"},
                                 {L"Leer", L""},
                                 {L"", L"ohne"},
                                 {L"Ä", L"x"}})}));
    const std::wstring text = BuildTextReport(report);
    EXPECT_NE(text.find(L"\nAbcdefghij:" + std::wstring(27, L' ') + L"v1\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"\n" + label37 + L":v2\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"\n" + label38 + L":v3\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"\nLeer:" + std::wstring(33, L' ') + L"\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"\n:" + std::wstring(37, L' ') + L"ohne\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"\nÄ:" + std::wstring(36, L' ') + L"x\n"), std::wstring::npos);
}

TEST(BuildTextReport, DuplicateLabelsAndLineBreaksStayAsStored) {
    HardwareReport report;
    report.categories.push_back(MakeCategory(
        L"K", {MakeRecord(L"R", {{L"A", L"1"}, {L"A", L"zwei\r\nZeilen"}, {L"B", L"\"\\\t"}})}));
    const std::wstring text = BuildTextReport(report);
    const std::wstring pad(36, L' ');
    EXPECT_NE(text.find(L"\nA:" + pad + L"1\nA:" + pad + L"zwei\r\nZeilen\nB:" + pad + L"\"\\\t\n"),
              std::wstring::npos);
}

TEST(BuildTextReport, HintsFollowTheLastCategoryWithoutRules) {
    HardwareReport report;
    report.categories.push_back(MakeCategory(L"K"));
    report.hints = {L"WMI-Abfrage fehlgeschlagen: 0x80041001", L"", L"zweiter – Hinweis"};
    const std::wstring expected = Header(L"") + kRule + L"\nK\n" + kRule +
        L"\nKeine Daten von Windows gemeldet.\n\n\n"
        L"DIAGNOSEHINWEISE\n"
        L"- WMI-Abfrage fehlgeschlagen: 0x80041001\n"
        L"- \n"
        L"- zweiter – Hinweis\n";
    EXPECT_EQ(BuildTextReport(report), expected);
}

TEST(BuildTextReport, HintsWithoutCategoriesFollowTheHeader) {
    HardwareReport report;
    report.hints = {L"COM nicht verfügbar"};
    EXPECT_EQ(BuildTextReport(report), Header(L"") + L"DIAGNOSEHINWEISE\n- COM nicht verfügbar\n");
}

TEST(BuildTextReport, IgnoresTheLoadSnapshot) {
    HardwareReport report;
    report.load = {12, 34, 56, 78};
    EXPECT_EQ(BuildTextReport(report), Header(L""));
}

TEST(BuildTextReport, UsesLineFeedsOnly) {
    HardwareReport report;
    report.categories.push_back(MakeCategory(L"K", {MakeRecord(L"R", {{L"A", L"b"}})}));
    report.hints = {L"h"};
    EXPECT_EQ(BuildTextReport(report).find(L'\r'), std::wstring::npos);
}
