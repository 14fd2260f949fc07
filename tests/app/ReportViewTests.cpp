#include "app/ReportView.h"
#include "app/ValueColours.h"

#include <gtest/gtest.h>

namespace {

ReportCategory LiveLoadCategory(std::vector<ReportField> fields) {
    return {L"Aktuelle Auslastung", {ReportRecord{L"Live-Messung", std::move(fields)}}};
}

std::wstring JoinedText(const std::vector<StyledPiece>& pieces) {
    std::wstring text;
    for (const StyledPiece& piece : pieces) {
        text += piece.text;
    }
    return text;
}

} // namespace

TEST(TreeItemText, NameAndRecordCount) {
    ReportCategory category{L"Laufwerke", {ReportRecord{}, ReportRecord{}}};
    EXPECT_EQ(TreeItemText(category), L"Laufwerke  (2)");
    EXPECT_EQ(TreeItemText(ReportCategory{L"Sensoren", {}}), L"Sensoren  (0)");
}

TEST(TreeItemImage, CyclesThroughTheTenIcons) {
    EXPECT_EQ(TreeItemImage(0), 0);
    EXPECT_EQ(TreeItemImage(9), 9);
    EXPECT_EQ(TreeItemImage(10), 0);
    EXPECT_EQ(TreeItemImage(23), 3);
}

TEST(RenderCategoryPieces, HeadingRecordsAndFieldsInOrderWithTheirFormats) {
    ReportCategory category{L"Laufwerke",
                            {ReportRecord{L"Disk 0", {{L"Modell", L"WD"}, {L"SSD-Temperatur", L"72 °C"}}},
                             ReportRecord{L"", {}}}};
    const std::vector<StyledPiece> pieces = RenderCategoryPieces(category);
    const std::vector<StyledPiece> expected = {
        {L"  Laufwerke\r\n", WhiteColor, true, 280, HeadingColor},
        {L"\r\n", TextColor, false, 100, PanelColor},
        {L"  ◆  Disk 0\r\n", RecordTitleColor, true, 215, TileColor},
        {L"    Modell:  ", SecondaryTextColor, true, 185, PanelColor},
        {L"WD\r\n", TextColor, false, 185, PanelColor},
        {L"    SSD-Temperatur:  ", SecondaryTextColor, true, 185, PanelColor},
        {L"72 °C\r\n", CriticalColor, false, 185, PanelColor},
        {L"\r\n", TextColor, false, 100, PanelColor},
        {L"  ◆  Unbenannter Datensatz\r\n", RecordTitleColor, true, 215, TileColor},
        {L"\r\n", TextColor, false, 100, PanelColor},
    };
    EXPECT_EQ(pieces, expected);
}

TEST(RenderCategoryPieces, EmptyCategoryShowsTheNoValuesLine) {
    const std::vector<StyledPiece> pieces = RenderCategoryPieces(ReportCategory{L"Kamera", {}});
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[2], (StyledPiece{L"Windows hat für diese Kategorie keine Werte gemeldet.\r\n", SecondaryTextColor,
                                      false, 190, PanelColor}));
}

TEST(RenderCategoryPieces, ControlCharactersAndLongValuesPassThroughUnchanged) {
    const std::wstring longValue(100000, L'x');
    ReportCategory category{L"A", {ReportRecord{L"t\tx", {{L"L\r\n", longValue}, {L"", L""}}}}};
    const std::wstring text = JoinedText(RenderCategoryPieces(category));
    EXPECT_NE(text.find(L"  ◆  t\tx\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"    L\r\n:  " + longValue + L"\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"    :  \r\n"), std::wstring::npos);
}

TEST(ScanSummaryText, CountsCategoriesRecordsAndHints) {
    HardwareReport report;
    report.categories.push_back({L"A", {ReportRecord{}, ReportRecord{}}});
    report.categories.push_back({L"B", {ReportRecord{}}});
    EXPECT_EQ(ScanSummaryText(&report), L"Analyse abgeschlossen: 2 Kategorien, 3 Datensätze");
    report.hints.push_back(L"x");
    EXPECT_EQ(ScanSummaryText(&report), L"Analyse abgeschlossen: 2 Kategorien, 3 Datensätze, 1 Diagnosehinweis(e)");
    report.hints.resize(12);
    EXPECT_EQ(ScanSummaryText(&report), L"Analyse abgeschlossen: 2 Kategorien, 3 Datensätze, 12 Diagnosehinweis(e)");
    EXPECT_EQ(ScanSummaryText(nullptr), L"Analyse abgeschlossen: 0 Kategorien, 0 Datensätze");
}

TEST(LoadTileValueText, PercentIdleAndUnavailable) {
    EXPECT_EQ(LoadTileValueText(95), L"95 %");
    EXPECT_EQ(LoadTileValueText(130), L"130 %");
    EXPECT_EQ(LoadTileValueText(0), L"0 % · Leerlauf");
    EXPECT_EQ(LoadTileValueText(-1), L"n. v.");
}

TEST(UpdateLiveLoadCategory, RewritesTheFourValuesInPlace) {
    HardwareReport report;
    report.categories.push_back({L"System", {ReportRecord{L"PC", {{L"CPU-Auslastung", L"1 %"}}}}});
    report.categories.push_back(LiveLoadCategory({{L"Messzeitpunkt", L"jetzt"},
                                                  {L"GPU-Auslastung (höchste Engine)", L"Nicht gemeldet"},
                                                  {L"CPU-Auslastung", L"3 %"},
                                                  {L"Arbeitsspeicher-Auslastung", L"40 %"},
                                                  {L"Datenträger-Auslastung", L"7 %"}}));
    report.load = {0, 55, -1, 12};
    UpdateLiveLoadCategory(report);

    const std::vector<ReportField> expected = {{L"Messzeitpunkt", L"jetzt"},
                                               {L"GPU-Auslastung (höchste Engine)", L"12 %"},
                                               {L"CPU-Auslastung", L"0 %"},
                                               {L"Arbeitsspeicher-Auslastung", L"55 %"},
                                               {L"Datenträger-Auslastung", L"Nicht gemeldet"}};
    EXPECT_EQ(report.categories[1].records[0].fields, expected);
    EXPECT_EQ(report.categories[1].records[0].title, L"Live-Messung");
    // Only the live-load category is touched.
    EXPECT_EQ(report.categories[0].records[0].fields[0].second, L"1 %");
}

TEST(UpdateLiveLoadCategory, MissingLabelsAreNotAdded) {
    HardwareReport report;
    report.categories.push_back(LiveLoadCategory({{L"CPU-Auslastung", L"3 %"}, {L"cpu-auslastung", L"9 %"}}));
    report.load = {77, 50, 50, 50};
    UpdateLiveLoadCategory(report);
    const std::vector<ReportField> expected = {{L"CPU-Auslastung", L"77 %"}, {L"cpu-auslastung", L"9 %"}};
    EXPECT_EQ(report.categories[0].records[0].fields, expected);
}

TEST(UpdateLiveLoadCategory, ReportWithoutLiveRecordStaysUnchanged) {
    HardwareReport report;
    report.categories.push_back({L"Aktuelle Auslastung", {}});
    report.categories.push_back({L"aktuelle auslastung", {ReportRecord{L"x", {{L"CPU-Auslastung", L"1 %"}}}}});
    report.load = {50, 50, 50, 50};
    UpdateLiveLoadCategory(report);
    EXPECT_TRUE(report.categories[0].records.empty());
    EXPECT_EQ(report.categories[1].records[0].fields[0].second, L"1 %");

    HardwareReport empty;
    UpdateLiveLoadCategory(empty);
    EXPECT_TRUE(empty.categories.empty());
}

TEST(UpdateLiveLoadCategory, OnlyTheFirstRecordIsRewritten) {
    HardwareReport report;
    ReportCategory live = LiveLoadCategory({{L"CPU-Auslastung", L"3 %"}});
    live.records.push_back(ReportRecord{L"zweiter", {{L"CPU-Auslastung", L"4 %"}}});
    report.categories.push_back(live);
    report.load = {10, -1, -1, -1};
    UpdateLiveLoadCategory(report);
    EXPECT_EQ(report.categories[0].records[0].fields[0].second, L"10 %");
    EXPECT_EQ(report.categories[0].records[1].fields[0].second, L"4 %");
}
