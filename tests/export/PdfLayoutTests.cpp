#include "export/PdfLayout.h"

#include "PdfTestReports.h"
#include "model/Version.h"

#include <gtest/gtest.h>

namespace {

std::vector<PdfPage> Draw(const HardwareReport& report) {
    std::vector<PdfPage> pages(1);
    DrawReportPages(pages, report);
    return pages;
}

const std::string kHeaderBand = "0.08 0.3 0.62 rg 0 792 595 50 re f\n";
const std::string kLogoTile = "0.06 0.09 0.13 rg 24 798 38 38 re f\n";
const std::string kFooter = "0.82 0.85 0.89 rg 24 24 547 1 re f\n";

// A text as it stands in a content stream, without escapes to add.
std::string Literal(const std::string& text) {
    std::string literal = "(";
    literal += text;
    literal += ')';
    return literal;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string GaugeLines(int32_t percent) {
    PdfPage page;
    DrawGauge(page, 28, 716, L"CPU", percent);
    return page.content;
}

// Reaches the given cursor before a second category: the first one costs 52 plus 25 per record
// and 11 per field, starting from 698 under the gauges.
HardwareReport ReportReaching(int fieldsInFirstRecord, int emptyRecords) {
    HardwareReport report;
    std::vector<ReportRecord> records{PdfTestNumberedRecord(L"Eintrag", static_cast<size_t>(fieldsInFirstRecord))};
    for (int i = 0; i < emptyRecords; ++i) {
        records.push_back(PdfTestRecord(L"Leer", {}));
    }
    report.categories.push_back(PdfTestCategory(L"Erste", std::move(records)));
    report.categories.push_back(PdfTestCategory(L"Zweite", {}));
    return report;
}

}  // namespace

TEST(PdfLayout, EmptyReportIsOnePageWithHeaderGaugesAndFooter) {
    HardwareReport report;
    const std::vector<PdfPage> pages = Draw(report);
    ASSERT_EQ(pages.size(), 1u);
    const std::string& content = pages[0].content;
    EXPECT_EQ(content.rfind(kHeaderBand + kLogoTile, 0), 0u);
    EXPECT_NE(content.find("BT /F2 18 Tf 1 1 1 rg 75 818 Td (Velquist) Tj ET\n"), std::string::npos);
    EXPECT_NE(content.find("BT /F1 8 Tf 0.82 0.9 1 rg 485 801 Td (Seite 1) Tj ET\n"), std::string::npos);
    EXPECT_NE(content.find("BT /F1 8 Tf 1 1 1 rg 435 816 Td () Tj ET\n"), std::string::npos);
    EXPECT_NE(content.find(Literal(PdfString(L"Hardware- und Zustandsbericht · " + BuildVersionLine()))),
              std::string::npos);
    for (const char* gauge : {"28 716 126 42", "165 716 126 42", "302 716 126 42", "439 716 126 42"}) {
        EXPECT_NE(content.find(std::string("0.94 0.96 0.98 rg ") + gauge + " re f\n"), std::string::npos) << gauge;
    }
    EXPECT_NE(content.find("(Datentr\xE4ger)"), std::string::npos);
    EXPECT_EQ(PdfTestCount(content, "(n. v.)"), 4u);
    EXPECT_TRUE(EndsWith(content, kFooter));
    EXPECT_EQ(PdfTestCount(content, kFooter), 1u);
    EXPECT_EQ(content.find("0.78 0.39 0.1 rg"), std::string::npos) << "no notes band without hints";
}

TEST(PdfLayout, HeaderShowsTheCreationTimeAndResetsTheCursor) {
    HardwareReport report;
    report.created = L"07.12.2026 04:50:00";
    PdfPage page;
    DrawHeader(page, report, 12);
    EXPECT_EQ(page.y, 775);
    EXPECT_NE(page.content.find("435 816 Td (07.12.2026 04:50:00) Tj ET\n"), std::string::npos);
    EXPECT_NE(page.content.find("485 801 Td (Seite 12) Tj ET\n"), std::string::npos);
}

TEST(PdfLayout, LogoIsAChipWithTwelvePinsAndALens) {
    PdfPage page;
    DrawLogo(page, 24, 798, 38);
    EXPECT_EQ(PdfTestCount(page.content, "\n"), 19u);
    EXPECT_EQ(page.content.rfind(kLogoTile + "0.1 0.46 0.91 rg 31.6 807.88 19.76 19.76 re f\n"
                                             "0.06 0.09 0.13 rg 35.552 811.832 11.856 11.856 re f\n"
                                             "0.28 0.78 0.94 RG 1.4 w 35.552 827.64 m 35.552 832.58 l S\n"
                                             "0.28 0.78 0.94 RG 1.4 w 35.552 807.88 m 35.552 802.94 l S\n",
                                  0),
              0u);
    EXPECT_EQ(PdfTestCount(page.content, "0.28 0.78 0.94 RG 1.4 w "), 12u);
    // The left pins follow all up and down pins.
    EXPECT_NE(page.content.find("l S\n0.28 0.78 0.94 RG 1.4 w 26.66 811.832 m 31.6 811.832 l S\n"), std::string::npos);
    EXPECT_NE(page.content.find("0.96 0.98 1 rg 1 w 57.06 808.64 m "), std::string::npos);
    EXPECT_NE(page.content.find("0.1 0.46 0.91 RG 2.5 w 54.59 808.64 m "), std::string::npos);
    EXPECT_TRUE(EndsWith(page.content, "0.96 0.98 1 RG 3 w 55.16 804.08 m 59.72 799.14 l S\n"
                                       "0.1 0.46 0.91 RG 1.4 w 55.16 804.08 m 59.72 799.14 l S\n"));
}

TEST(PdfLayout, GaugeBarFollowsTheLoad) {
    const std::string missing = GaugeLines(-1);
    EXPECT_NE(missing.find("0.22 0.72 0.4 rg 36 725 0 8 re f\n"), std::string::npos);
    EXPECT_NE(missing.find("116 743 Td (n. v.) Tj"), std::string::npos);

    const std::string high = GaugeLines(95);
    EXPECT_NE(high.find("0.84 0.87 0.9 rg 36 725 108 8 re f\n0.9 0.2 0.12 rg 36 725 102.6 8 re f\n"),
              std::string::npos);
    EXPECT_NE(high.find("(95 %)"), std::string::npos);

    EXPECT_NE(GaugeLines(90).find("0.9 0.2 0.12 rg 36 725 97.2 8"), std::string::npos);
    EXPECT_NE(GaugeLines(70).find("0.95 0.62 0.12 rg 36 725 75.6 8"), std::string::npos);
    EXPECT_NE(GaugeLines(69).find("0.22 0.72 0.4 rg 36 725 74.52 8"), std::string::npos);
    EXPECT_NE(GaugeLines(33).find("0.22 0.72 0.4 rg 36 725 35.64 8"), std::string::npos);
    EXPECT_NE(GaugeLines(0).find("(0 %)"), std::string::npos);

    const std::string over = GaugeLines(250);
    EXPECT_NE(over.find("0.9 0.2 0.12 rg 36 725 108 8 re f\n"), std::string::npos);
    EXPECT_NE(over.find("(100 %)"), std::string::npos);
}

TEST(PdfLayout, BadgeColourFollowsTheLetter) {
    PdfPage page;
    DrawCategoryBadge(page, 43, 100, L"Sicherheit & Firmware");
    EXPECT_EQ(page.content.rfind("0.95 0.61 0.16 rg 1 w 51 100 m ", 0), 0u);
    EXPECT_TRUE(EndsWith(page.content, "BT /F2 8 Tf 1 1 1 rg 40.3 97 Td (T) Tj ET\n"));

    PdfPage other;
    DrawCategoryBadge(other, 43, 100, L"System");
    EXPECT_EQ(other.content.rfind("0.22 0.76 0.94 rg 1 w ", 0), 0u);
    EXPECT_TRUE(EndsWith(other.content, "(I) Tj ET\n"));
}

TEST(PdfLayout, CategoryRecordAndFieldRowsSitOnTheCursor) {
    HardwareReport report;
    report.categories.push_back(PdfTestCategory(
        L"Laufwerke", {PdfTestRecord(L"Datenträger 0", {{L"SSD-Temperatur", L"65 °C"}, {L"Modell", L"X"}})}));
    const std::string content = Draw(report)[0].content;
    // 698 - 10 = 688 for the band, 650 for the record, 630 and 619 for the fields.
    EXPECT_NE(content.find("0.11 0.38 0.72 rg 28 684 539 26 re f\n0.22 0.7 0.6 rg 1 w 51 697 m "), std::string::npos);
    EXPECT_NE(content.find("BT /F2 11 Tf 1 1 1 rg 58 693 Td (Laufwerke) Tj ET\n"), std::string::npos);
    EXPECT_NE(content.find("0.9 0.93 0.97 rg 34 647 527 17 re f\n"
                           "BT /F2 9 Tf 0.1 0.27 0.48 rg 42 651 Td (Datentr\xE4ger 0) Tj ET\n"),
              std::string::npos);
    EXPECT_NE(content.find("0.95 0.62 0.12 rg 40 631 5 5 re f\n"
                           "BT /F2 7.5 Tf 0.32 0.37 0.44 rg 50 630 Td (SSD-Temperatur) Tj ET\n"
                           "BT /F1 7.5 Tf 0.12 0.16 0.22 rg 222 630 Td (65 \xB0" "C) Tj ET\n"),
              std::string::npos);
    EXPECT_NE(content.find("0.55 0.58 0.63 rg 40 620 5 5 re f\n"), std::string::npos);
}

TEST(PdfLayout, LongTextsAreShortenedButCategoryNamesAreNot) {
    HardwareReport report;
    const std::wstring name(120, L'N');
    report.categories.push_back(PdfTestCategory(
        name, {PdfTestRecord(std::wstring(90, L't'), {{std::wstring(40, L'l'), std::wstring(100, L'v')}})}));
    report.hints.push_back(std::wstring(110, L'h'));
    const std::string content = Draw(report)[0].content;
    EXPECT_NE(content.find(Literal(std::string(120, 'N'))), std::string::npos);
    EXPECT_NE(content.find(Literal(std::string(83, 't') + "...")), std::string::npos);
    EXPECT_NE(content.find(Literal(std::string(33, 'l') + "...")), std::string::npos);
    EXPECT_NE(content.find(Literal(std::string(75, 'v') + "...")), std::string::npos);
    EXPECT_NE(content.find(Literal("\x95 " + std::string(102, 'h') + "...")), std::string::npos);
}

TEST(PdfLayout, HintsGetTheOrangeNotesSection) {
    HardwareReport report;
    report.hints = {L"Erster Hinweis", L"Zweiter (mit Klammer)"};
    const std::string content = Draw(report)[0].content;
    // Cursor 698 under the gauges: band at 695, text 30 lower.
    EXPECT_NE(content.find("0.78 0.39 0.1 rg 28 695 539 22 re f\n0.22 0.76 0.94 rg 1 w 51 705 m "), std::string::npos);
    EXPECT_NE(content.find("BT /F2 11 Tf 1 1 1 rg 58 702 Td (Diagnosehinweise) Tj ET\n"), std::string::npos);
    EXPECT_NE(content.find("BT /F1 7.5 Tf 0.42 0.22 0.08 rg 40 668 Td (\x95 Erster Hinweis) Tj ET\n"
                           "BT /F1 7.5 Tf 0.42 0.22 0.08 rg 40 657 Td (\x95 Zweiter \\(mit Klammer\\)) Tj ET\n"),
              std::string::npos);
    EXPECT_TRUE(EndsWith(content, kFooter));
}

TEST(PdfLayout, CategoryAtTheThresholdStaysOnThePage) {
    const std::vector<PdfPage> pages = Draw(ReportReaching(46, 0));  // cursor 115 before "Zweite"
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].content.find("0.11 0.38 0.72 rg 28 101 539 26 re f\n"), std::string::npos);
}

TEST(PdfLayout, CategoryBelowTheThresholdStartsANewPage) {
    const std::vector<PdfPage> pages = Draw(ReportReaching(37, 4));  // cursor 114 before "Zweite"
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(EndsWith(pages[0].content, kFooter));
    EXPECT_EQ(pages[0].content.find("(Zweite)"), std::string::npos);
    EXPECT_EQ(pages[1].content.rfind(kHeaderBand + kLogoTile, 0), 0u);
    EXPECT_NE(pages[1].content.find("(Seite 2)"), std::string::npos);
    EXPECT_NE(pages[1].content.find("0.11 0.38 0.72 rg 28 761 539 26 re f\n"), std::string::npos);
    EXPECT_NE(pages[1].content.find("58 770 Td (Zweite)"), std::string::npos);
    EXPECT_EQ(pages[1].content.find("0.94 0.96 0.98 rg"), std::string::npos) << "gauges only on page 1";
}

TEST(PdfLayout, FieldsContinueOnTheNextPageWithoutARepeatedTitle) {
    HardwareReport report;
    report.categories.push_back(PdfTestCategory(L"Sensoren", {PdfTestNumberedRecord(L"Sensorliste", 110)}));
    const std::vector<PdfPage> pages = Draw(report);
    ASSERT_EQ(pages.size(), 2u);
    size_t fields = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        const std::string& content = pages[i].content;
        EXPECT_EQ(content.rfind(kHeaderBand + kLogoTile, 0), 0u) << "page " << i + 1;
        EXPECT_NE(content.find(Literal("Seite " + std::to_string(i + 1))), std::string::npos);
        EXPECT_EQ(PdfTestCount(content, kFooter), 1u) << "page " << i + 1;
        EXPECT_TRUE(EndsWith(content, kFooter));
        fields += PdfTestCount(content, "0.32 0.37 0.44 rg 50 ");
    }
    EXPECT_EQ(fields, 110u);
    EXPECT_EQ(PdfTestCount(pages[0].content + pages[1].content, "(Sensorliste)"), 1u);
    EXPECT_EQ(PdfTestCount(pages[1].content, "(Sensoren)"), 0u);
    // Page 1 holds the fields from 630 down to 58 (53 rows); the next one starts at 775.
    EXPECT_NE(pages[0].content.find("50 58 Td (Feld 52)"), std::string::npos);
    EXPECT_NE(pages[1].content.find("50 775 Td (Feld 53)"), std::string::npos);
}

TEST(PdfLayout, ManyRecordsFlowOverManyPages) {
    HardwareReport report;
    std::vector<ReportRecord> records;
    for (int i = 0; i < 300; ++i) {
        records.push_back(PdfTestNumberedRecord(L"Eintrag " + std::to_wstring(i), 3));
    }
    report.categories.push_back(PdfTestCategory(L"Geräte", std::move(records)));
    report.hints.assign(200, L"Hinweis");
    const std::vector<PdfPage> pages = Draw(report);
    EXPECT_GT(pages.size(), 10u);
    size_t titles = 0, hints = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_NE(pages[i].content.find("Td " + Literal("Seite " + std::to_string(i + 1)) + " Tj"), std::string::npos);
        EXPECT_EQ(PdfTestCount(pages[i].content, kFooter), 1u);
        titles += PdfTestCount(pages[i].content, "Td (Eintrag ");
        hints += PdfTestCount(pages[i].content, "(\x95 Hinweis)");
        EXPECT_GE(pages[i].y, 43) << "page " << i + 1 << " ran into its footer";
    }
    EXPECT_EQ(titles, 300u);
    EXPECT_EQ(hints, 200u);
}

TEST(PdfLayout, EmptyPageListGetsItsFirstPage) {
    HardwareReport report;
    std::vector<PdfPage> pages;
    DrawReportPages(pages, report);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].content.find("(Seite 1)"), std::string::npos);
}
