#include "WindowFixture.h"
#include "ClipboardReader.h"

#include "app/CategoryView.h"
#include "app/Controls.h"
#include "app/Layout.h"
#include "app/Palette.h"
#include "app/Workers.h"
#include "model/Version.h"

#include <richedit.h>

#include <memory>
#include <new>
#include <vector>

namespace {

std::unique_ptr<HardwareReport> SampleReport() {
    auto report = std::make_unique<HardwareReport>();
    report->categories.push_back({L"Aktuelle Auslastung",
                                  {ReportRecord{L"Live-Messung",
                                                {{L"CPU-Auslastung", L"12 %"},
                                                 {L"Arbeitsspeicher-Auslastung", L"40 %"},
                                                 {L"Datenträger-Auslastung", L"Nicht gemeldet"},
                                                 {L"GPU-Auslastung (höchste Engine)", L"Nicht gemeldet"}}}}});
    report->categories.push_back({L"System", {ReportRecord{L"PC", {{L"Hersteller", L"Wine"}}}}});
    report->categories.push_back(
        {L"Laufwerke", {ReportRecord{L"Disk", {{L"SSD-Temperatur", L"72 °C"}}}, ReportRecord{L"", {}}}});
    report->hints.push_back(L"Hinweis");
    report->load = {12, 40, -1, -1};
    return report;
}

std::wstring TreeItemTextOf(HWND tree, HTREEITEM item) {
    wchar_t buffer[256] = {};
    TVITEMW query{};
    query.mask = TVIF_TEXT | TVIF_PARAM;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = 256;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
    return buffer;
}

std::vector<std::wstring> TreeTexts(HWND tree) {
    std::vector<std::wstring> texts;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item) {
        texts.push_back(TreeItemTextOf(tree, item));
        item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return texts;
}

bool Enabled(HWND control) {
    return IsWindowEnabled(control) != FALSE;
}

std::vector<bool> ButtonStates(const AppState& state) {
    return {Enabled(state.rescanButton), Enabled(state.txtButton), Enabled(state.jsonButton), Enabled(state.pdfButton),
            Enabled(state.copyButton)};
}

CHARRANGE Selection(HWND details) {
    CHARRANGE range{-5, -5};
    SendMessageW(details, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void Select(HWND details, LONG start, LONG end) {
    CHARRANGE range{start, end};
    SendMessageW(details, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

// Character format at one character position of the rich edit control.
CHARFORMAT2W FormatAt(HWND details, LONG position) {
    Select(details, position, position + 1);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(details, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

// Rich edit positions count a paragraph end as one character.
LONG PositionOf(HWND details, const std::wstring& needle) {
    std::wstring text = WindowText(details);
    std::wstring flat;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            continue;
        }
        flat.push_back(text[i]);
    }
    const size_t at = flat.find(needle);
    return at == std::wstring::npos ? -1 : static_cast<LONG>(at);
}

bool TimerRunning(HWND window) {
    // KillTimer reports whether the timer existed; put it back for whatever follows.
    if (!KillTimer(window, LOAD_TIMER_ID)) {
        return false;
    }
    SetTimer(window, LOAD_TIMER_ID, kLoadTimerPeriodMs, nullptr);
    return true;
}

} // namespace

TEST_F(MainWindowTest, StartsWithAllButtonsDisabledAndTheDefaultTexts) {
    EXPECT_EQ(WindowText(window), L"Velquist · " + BuildVersionLine());
    EXPECT_EQ(ButtonStates(state), std::vector<bool>(5, false));
    EXPECT_EQ(WindowText(state.statusLabel), L"Bereit");
    EXPECT_EQ(WindowText(state.rescanButton), L"↻  Neu analysieren");
    EXPECT_EQ(WindowText(state.subtitleLabel),
              L"Technische Hardwareanalyse, Zustandsbewertung und Live-Auslastung · " + BuildVersionLine());
    EXPECT_NE(state.richEditModule, nullptr);
    EXPECT_NE(state.bodyFont.get(), nullptr);
    for (const LoadTile& tile : state.tiles) {
        EXPECT_EQ(tile.percent, -1);
        EXPECT_NE(tile.tileWindow, nullptr);
    }
    EXPECT_EQ(ImageList_GetImageCount(state.treeIcons.get()), 10);
}

TEST_F(MainWindowTest, MenuBarHoldsTheCommandsInOrder) {
    HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    auto texts = [](HMENU menu) {
        std::vector<std::pair<UINT, std::wstring>> items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            items.emplace_back(GetMenuItemID(menu, i), text);
        }
        return items;
    };
    const std::vector<std::pair<UINT, std::wstring>> file = {{1008, L"PDF-Report erstellen…"},
                                                             {1004, L"TXT-Bericht exportieren…"},
                                                             {1005, L"JSON-Bericht exportieren…"},
                                                             {0, L""},
                                                             {1009, L"Beenden"}};
    EXPECT_EQ(texts(GetSubMenu(bar, 0)), file);
    EXPECT_EQ(texts(GetSubMenu(bar, 1)), (std::vector<std::pair<UINT, std::wstring>>{{1003, L"Hardware neu analysieren"}}));
    wchar_t name[32] = {};
    GetMenuStringW(bar, 0, name, 32, MF_BYPOSITION);
    EXPECT_STREQ(name, L"Datei");
    GetMenuStringW(bar, 1, name, 32, MF_BYPOSITION);
    EXPECT_STREQ(name, L"Analyse");
}

TEST_F(MainWindowTest, MinimumTrackingSizeOnceBound) {
    MINMAXINFO limits{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 980);
    EXPECT_EQ(limits.ptMinTrackSize.y, 650);
}

TEST_F(MainWindowTest, StaticColoursDependOnTheControl) {
    HDC dc = GetDC(window);
    auto brushFor = [&](HWND control) {
        return reinterpret_cast<HBRUSH>(SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(control)));
    };
    EXPECT_EQ(brushFor(state.statusLabel), state.windowBrush.get());
    EXPECT_EQ(GetTextColor(dc), SecondaryTextColor);
    EXPECT_EQ(GetBkColor(dc), WindowColor);
    EXPECT_EQ(brushFor(state.titleLabel), state.windowBrush.get());
    EXPECT_EQ(GetTextColor(dc), TextColor);
    EXPECT_EQ(brushFor(state.detailsView), state.panelBrush.get());
    EXPECT_EQ(GetBkColor(dc), PanelColor);
    ReleaseDC(window, dc);
}

TEST_F(MainWindowTest, ScanDoneFillsTreeDetailsStatusTilesAndStartsTheTimer) {
    state.scanning = true;
    OnScanDone(state, SampleReport());

    EXPECT_FALSE(state.scanning);
    EXPECT_EQ(TreeTexts(state.categoryTree),
              (std::vector<std::wstring>{L"Aktuelle Auslastung  (1)", L"System  (1)", L"Laufwerke  (2)"}));
    const auto caret = reinterpret_cast<HTREEITEM>(SendMessageW(state.categoryTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    EXPECT_EQ(TreeItemTextOf(state.categoryTree, caret), L"Aktuelle Auslastung  (1)");
    EXPECT_EQ(WindowText(state.detailsView).rfind(L"  Aktuelle Auslastung", 0), 0u);
    EXPECT_EQ(WindowText(state.statusLabel), L"Analyse abgeschlossen: 3 Kategorien, 4 Datensätze, 1 Diagnosehinweis(e)");
    EXPECT_EQ(ButtonStates(state), std::vector<bool>(5, true));
    EXPECT_EQ(SendMessageW(state.progressBar, PBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(state.tiles[0].percent, 12);
    EXPECT_EQ(state.tiles[1].percent, 40);
    EXPECT_EQ(state.tiles[3].percent, -1);
    EXPECT_TRUE(TimerRunning(window));
}

TEST_F(MainWindowTest, SelectingAnotherTreeItemRendersItsCategory) {
    OnScanDone(state, SampleReport());
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(state.categoryTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    item = reinterpret_cast<HTREEITEM>(SendMessageW(state.categoryTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    item = reinterpret_cast<HTREEITEM>(SendMessageW(state.categoryTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    SendMessageW(state.categoryTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(state.selectedCategory, 2u);
    const std::wstring text = WindowText(state.detailsView);
    EXPECT_EQ(text.rfind(L"  Laufwerke", 0), 0u);
    EXPECT_NE(text.find(L"Unbenannter Datensatz"), std::wstring::npos);
}

TEST_F(MainWindowTest, ScanDoneWithoutReportLeavesOnlyRescanEnabled) {
    state.scanning = true;
    OnScanDone(state, nullptr);
    EXPECT_EQ(WindowText(state.statusLabel), L"Analyse abgeschlossen: 0 Kategorien, 0 Datensätze");
    EXPECT_EQ(ButtonStates(state), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_TRUE(TreeTexts(state.categoryTree).empty());
}

TEST_F(MainWindowTest, RenderedValuesCarryTheirFormats) {
    OnScanDone(state, SampleReport());
    RenderCategory(state, 2);
    const HWND details = state.detailsView;

    const CHARFORMAT2W heading = FormatAt(details, PositionOf(details, L"Laufwerke"));
    EXPECT_EQ(heading.crTextColor, WhiteColor);
    EXPECT_TRUE(heading.dwEffects & CFE_BOLD);
    EXPECT_EQ(heading.yHeight, 280);

    const CHARFORMAT2W label = FormatAt(details, PositionOf(details, L"SSD-Temperatur"));
    EXPECT_EQ(label.crTextColor, SecondaryTextColor);
    EXPECT_TRUE(label.dwEffects & CFE_BOLD);

    const CHARFORMAT2W value = FormatAt(details, PositionOf(details, L"72 °C"));
    EXPECT_EQ(value.crTextColor, CriticalColor);
    EXPECT_FALSE(value.dwEffects & CFE_BOLD);
    EXPECT_EQ(value.yHeight, 185);
    EXPECT_STREQ(value.szFaceName, L"Segoe UI");

    // The pane is read-only again after rendering.
    EXPECT_TRUE(GetWindowLongPtrW(details, GWL_STYLE) & ES_READONLY);
}

TEST_F(MainWindowTest, IndexOutsideTheReportLeavesThePaneEmpty) {
    OnScanDone(state, SampleReport());
    RenderCategory(state, 1);
    RenderCategory(state, 3);
    EXPECT_EQ(WindowText(state.detailsView), L"");
    EXPECT_EQ(state.selectedCategory, 1u);
}

TEST_F(MainWindowTest, LoadSampleRewritesTheShownLiveCategoryAndKeepsTheSelection) {
    OnScanDone(state, SampleReport());
    state.samplePending = true;
    Select(state.detailsView, 3, 9);
    OnLoadSample(state, std::make_unique<LoadSnapshot>(LoadSnapshot{77, 41, 0, -1}));

    EXPECT_FALSE(state.samplePending);
    EXPECT_NE(WindowText(state.detailsView).find(L"CPU-Auslastung:  77 %"), std::wstring::npos);
    EXPECT_NE(WindowText(state.detailsView).find(L"Datenträger-Auslastung:  0 %"), std::wstring::npos);
    const CHARRANGE kept = Selection(state.detailsView);
    EXPECT_EQ(kept.cpMin, 3);
    EXPECT_EQ(kept.cpMax, 9);
    EXPECT_EQ(state.tiles[0].percent, 77);
    EXPECT_EQ(state.tiles[2].percent, 0);
}

TEST_F(MainWindowTest, LoadSampleDoesNotRestoreAnEmptySelection) {
    OnScanDone(state, SampleReport());
    Select(state.detailsView, 12, 12);
    OnLoadSample(state, std::make_unique<LoadSnapshot>(LoadSnapshot{5, 5, 5, 5}));
    const CHARRANGE caret = Selection(state.detailsView);
    EXPECT_EQ(caret.cpMin, 0);
    EXPECT_EQ(caret.cpMax, 0);
}

TEST_F(MainWindowTest, LoadSampleLeavesAnotherShownCategoryAlone) {
    OnScanDone(state, SampleReport());
    RenderCategory(state, 1);
    SetWindowTextW(state.detailsView, L"unverändert");
    OnLoadSample(state, std::make_unique<LoadSnapshot>(LoadSnapshot{66, 1, 1, 1}));
    EXPECT_EQ(WindowText(state.detailsView), L"unverändert");
    EXPECT_EQ(state.tiles[0].percent, 66);
    EXPECT_EQ(GetFieldValue(state.report->categories[0].records[0], L"CPU-Auslastung"), L"66 %");
}

TEST_F(MainWindowTest, LoadSampleDuringAScanOrWithoutReportIsDropped) {
    OnScanDone(state, SampleReport());
    state.scanning = true;
    state.samplePending = true;
    OnLoadSample(state, std::make_unique<LoadSnapshot>(LoadSnapshot{99, 99, 99, 99}));
    EXPECT_FALSE(state.samplePending);
    EXPECT_EQ(state.report->load.cpuPercent, 12);
    EXPECT_EQ(state.tiles[0].percent, 12);

    state.report.reset();
    state.scanning = false;
    state.samplePending = true;
    OnLoadSample(state, std::make_unique<LoadSnapshot>(LoadSnapshot{99, 99, 99, 99}));
    EXPECT_FALSE(state.samplePending);

    state.samplePending = true;
    OnLoadSample(state, nullptr);
    EXPECT_FALSE(state.samplePending);
}

TEST_F(MainWindowTest, ProgressMessagesMoveStatusAndBar) {
    OnScanProgress(state, std::make_unique<ProgressMessage>(ProgressMessage{L"Laufwerke werden gelesen …", 45}));
    EXPECT_EQ(WindowText(state.statusLabel), L"Laufwerke werden gelesen …");
    EXPECT_EQ(SendMessageW(state.progressBar, PBM_GETPOS, 0, 0), 45);
    OnScanProgress(state, nullptr);
    EXPECT_EQ(WindowText(state.statusLabel), L"Laufwerke werden gelesen …");
}

TEST_F(MainWindowTest, StartScanWhileScanningDoesNothing) {
    state.scanning = true;
    SetWindowTextW(state.statusLabel, L"läuft");
    StartScan(state);
    EXPECT_EQ(WindowText(state.statusLabel), L"läuft");
}

TEST_F(MainWindowTest, LoadSampleStartsOnlyWithReportAndNoScan) {
    StartLoadSample(state);
    EXPECT_FALSE(state.samplePending);
    OnScanDone(state, SampleReport());
    state.scanning = true;
    StartLoadSample(state);
    EXPECT_FALSE(state.samplePending);
}

TEST_F(MainWindowTest, FailedScanStartRestoresButtonsTilesAndTimer) {
    OnScanDone(state, SampleReport());
    EnterScanningAfterReport();

    RecoverFromFailedScanStart(state);
    EXPECT_FALSE(state.scanning);
    EXPECT_EQ(ButtonStates(state), std::vector<bool>(5, true));
    EXPECT_EQ(state.tiles[0].percent, 12);
    EXPECT_TRUE(TimerRunning(window));
    EXPECT_EQ(WindowText(state.statusLabel), L"Die Analyse konnte nicht gestartet werden.");
}

TEST_F(MainWindowTest, FailedFirstScanStartLeavesOnlyRescanAndNoTimer) {
    state.scanning = true;
    RecoverFromFailedScanStart(state);
    EXPECT_FALSE(state.scanning);
    EXPECT_EQ(ButtonStates(state), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_FALSE(TimerRunning(window));
}

namespace {

HardwareReport ScanThatRunsOutOfMemory(const ProgressCallback& progress) {
    progress(L"Prozessor wird gelesen …", 23);
    throw std::bad_alloc();
}

} // namespace

TEST_F(MainWindowTest, ScanThatThrowsKeepsThePreviousReportAndSaysSo) {
    OnScanDone(state, SampleReport());
    EnterScanningAfterReport();

    ScanWorker(window, ScanThatRunsOutOfMemory);
    MSG message{};
    while (PeekMessageW(&message, window, WM_APP_SCAN_PROGRESS, WM_APP_SCAN_FAILED, PM_REMOVE)) {
        DispatchMessageW(&message);
    }

    EXPECT_FALSE(state.scanning);
    ASSERT_NE(state.report, nullptr);
    EXPECT_EQ(state.report->categories.size(), 3u);
    EXPECT_EQ(TreeTexts(state.categoryTree),
              (std::vector<std::wstring>{L"Aktuelle Auslastung  (1)", L"System  (1)", L"Laufwerke  (2)"}));
    EXPECT_EQ(WindowText(state.detailsView).rfind(L"  Aktuelle Auslastung", 0), 0u);
    EXPECT_EQ(ButtonStates(state), std::vector<bool>(5, true));
    EXPECT_EQ(state.tiles[0].percent, 12);
    EXPECT_TRUE(TimerRunning(window));
    EXPECT_EQ(WindowText(state.statusLabel), L"Die Analyse ist fehlgeschlagen.");
    EXPECT_EQ(SendMessageW(state.progressBar, PBM_GETPOS, 0, 0), 0);
}

TEST_F(MainWindowTest, ResizeLaysOutEveryControl) {
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(1344, 791));
    RECT tree{};
    GetWindowRect(state.categoryTree, &tree);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&tree), 2);
    EXPECT_EQ(tree.left, 22);
    EXPECT_EQ(tree.top, 198);
    EXPECT_EQ(tree.right - tree.left, 330);
    EXPECT_EQ(tree.bottom - tree.top, 791 - 250);
    RECT tile{};
    GetClientRect(state.tiles[3].tileWindow, &tile);
    EXPECT_EQ(tile.bottom, 48);
}

TEST(DetailsFallback, PlainEditTakesLongCategoriesWhole) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    ConfigureDetailsView(edit, false);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x1000000);

    AppState state;
    state.detailsView = edit;
    state.report = std::make_unique<HardwareReport>();
    ReportRecord record{L"Viele Felder", {}};
    for (int i = 0; i < 2000; ++i) {
        record.fields.emplace_back(L"Feld " + std::to_wstring(i), L"Wert " + std::to_wstring(i));
    }
    state.report->categories.push_back({L"Geräte", {record}});
    RenderCategory(state, 0);

    const std::wstring text = WindowText(edit);
    EXPECT_GT(text.size(), 40000u);
    EXPECT_NE(text.find(L"    Feld 1999:  Wert 1999\r\n"), std::wstring::npos);
    DestroyWindow(edit);
}

namespace {

bool Grayed(HMENU menu, UINT command) {
    return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

} // namespace

TEST_F(MainWindowTest, ContextMenuOffersCopyOnlyForASelection) {
    OnScanDone(state, SampleReport());
    Select(state.detailsView, 4, 4);
    MenuHandle empty = BuildDetailsContextMenu(state.detailsView);
    ASSERT_TRUE(empty);
    EXPECT_EQ(GetMenuItemCount(empty.get()), 2);
    EXPECT_TRUE(Grayed(empty.get(), IDM_COPY_SELECTION));
    EXPECT_FALSE(Grayed(empty.get(), IDM_SELECT_ALL));

    Select(state.detailsView, 2, 21);
    MenuHandle selected = BuildDetailsContextMenu(state.detailsView);
    EXPECT_FALSE(Grayed(selected.get(), IDM_COPY_SELECTION));
    wchar_t text[64] = {};
    GetMenuStringW(selected.get(), IDM_COPY_SELECTION, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Markierten Text kopieren");
    GetMenuStringW(selected.get(), IDM_SELECT_ALL, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Alles markieren");
}

TEST_F(MainWindowTest, ContextMenuCommandsCopyAndSelectAll) {
    OnScanDone(state, SampleReport());
    Select(state.detailsView, 2, 21);
    RunDetailsMenuCommand(state, IDM_COPY_SELECTION);
    EXPECT_EQ(WindowText(state.statusLabel), L"Der markierte Text wurde kopiert.");
    EXPECT_EQ(ReadClipboardText(window), L"Aktuelle Auslastung");

    RunDetailsMenuCommand(state, IDM_SELECT_ALL);
    const CHARRANGE all = Selection(state.detailsView);
    EXPECT_EQ(all.cpMin, 0);
    EXPECT_GT(all.cpMax, 150);

    // Closing the menu without a choice changes nothing.
    SetWindowTextW(state.statusLabel, L"unverändert");
    RunDetailsMenuCommand(state, 0);
    EXPECT_EQ(WindowText(state.statusLabel), L"unverändert");
}

namespace {

struct CustomDrawResult {
    LRESULT result;
    COLORREF text;
    COLORREF background;
};

// One custom-draw notification as the tree sends it to its parent. The colours start at values
// no rule produces, so an untouched structure shows.
CustomDrawResult SendCustomDraw(HWND window, HWND from, UINT_PTR id, DWORD stage, HTREEITEM item, UINT itemState) {
    NMTVCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = from;
    draw.nmcd.hdr.idFrom = id;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(item);
    draw.nmcd.uItemState = itemState;
    draw.clrText = RGB(1, 2, 3);
    draw.clrTextBk = RGB(4, 5, 6);
    const LRESULT result = SendMessageW(window, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&draw));
    return {result, draw.clrText, draw.clrTextBk};
}

} // namespace

TEST_F(MainWindowTest, TreeCustomDrawColoursTheCaretItemWhateverItsDrawState) {
    OnScanDone(state, SampleReport());
    const HWND tree = state.categoryTree;
    const auto caret = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    const auto other = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(caret)));
    ASSERT_NE(other, nullptr);

    EXPECT_EQ(SendCustomDraw(window, tree, IDC_TREE, CDDS_PREPAINT, nullptr, 0).result, CDRF_NOTIFYITEMDRAW);

    // The caret decides, not the item state the tree reports (which depends on the focus).
    const CustomDrawResult selected = SendCustomDraw(window, tree, IDC_TREE, CDDS_ITEMPREPAINT, caret, 0);
    EXPECT_EQ(selected.result, CDRF_NEWFONT);
    EXPECT_EQ(selected.text, WhiteColor);
    EXPECT_EQ(selected.background, SelectionColor);

    const CustomDrawResult plain = SendCustomDraw(window, tree, IDC_TREE, CDDS_ITEMPREPAINT, other, CDIS_SELECTED);
    EXPECT_EQ(plain.result, CDRF_NEWFONT);
    EXPECT_EQ(plain.text, TextColor);
    EXPECT_EQ(plain.background, PanelColor);

    // Only the item stage is coloured, and only for the tree.
    const CustomDrawResult after = SendCustomDraw(window, tree, IDC_TREE, CDDS_ITEMPOSTPAINT, caret, 0);
    EXPECT_EQ(after.result, CDRF_DODEFAULT);
    EXPECT_EQ(after.text, RGB(1, 2, 3));
    const CustomDrawResult foreign = SendCustomDraw(window, tree, IDC_DETAILS, CDDS_ITEMPREPAINT, caret, 0);
    EXPECT_EQ(foreign.result, CDRF_DODEFAULT);
    EXPECT_EQ(foreign.text, RGB(1, 2, 3));
    EXPECT_EQ(foreign.background, RGB(4, 5, 6));
}

TEST_F(MainWindowTest, BackgroundIsErasedWithTheWindowColour) {
    HDC screen = GetDC(window);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    EXPECT_EQ(SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 3, 3), WindowColor);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(window, screen);
}

TEST_F(MainWindowTest, ProgressBarFillsInTheAccentColour) {
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(1344, 791));
    SendMessageW(state.progressBar, PBM_SETPOS, 100, 0);
    RECT client{};
    GetClientRect(state.progressBar, &client);
    ASSERT_GT(client.right, 100);

    WindowDc screen(window);
    MemoryDc dc(CreateCompatibleDC(screen.get()));
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    SelectedObject selected(dc.get(), bitmap.get());
    SendMessageW(state.progressBar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    // A themed bar would draw its theme's blue here instead.
    EXPECT_EQ(GetPixel(dc.get(), client.right / 2, client.bottom / 2), AccentColor);
}

// Under Wine the font mapper stands in for Segoe UI; a wider face cuts the fixed-width buttons.
TEST_F(MainWindowTest, ButtonLabelsFitTheirButtons) {
    const MainLayout layout = ComputeLayout(1344, 791);
    const std::pair<HWND, Box> buttons[] = {{state.rescanButton, layout.rescanButton},
                                            {state.txtButton, layout.txtButton},
                                            {state.jsonButton, layout.jsonButton},
                                            {state.pdfButton, layout.pdfButton},
                                            {state.copyButton, layout.copyButton}};
    WindowDc dc(window);
    SelectedObject font(dc.get(), state.bodyFont.get());
    for (const auto& [button, box] : buttons) {
        const std::wstring label = WindowText(button);
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), label.c_str(), static_cast<int>(label.size()), &extent);
        EXPECT_LE(extent.cx, box.width) << testing::PrintToString(label);
    }
}

TEST_F(MainWindowTest, ExitCommandClosesTheWindowWhateverTheNotificationCode) {
    // An unknown id and the progress bar's id change nothing.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS, 0), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(4711, 0), 0);
    EXPECT_TRUE(IsWindow(window));

    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 1), 0);
    EXPECT_FALSE(IsWindow(window));
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    window = nullptr;
}

TEST_F(MainWindowTest, ProgressCallbackPostsOneHeapMessagePerStep) {
    const PostProgress progress{window};
    progress(L"Prozessor wird gelesen …", 23);
    progress(L"Speicher wird gelesen …", 31);

    std::vector<std::pair<std::wstring, int>> received;
    MSG message{};
    while (PeekMessageW(&message, window, WM_APP_SCAN_PROGRESS, WM_APP_SCAN_PROGRESS, PM_REMOVE)) {
        std::unique_ptr<ProgressMessage> payload(reinterpret_cast<ProgressMessage*>(message.lParam));
        ASSERT_NE(payload, nullptr);
        EXPECT_EQ(message.wParam, 0u);
        received.emplace_back(payload->text, payload->percent);
    }
    EXPECT_EQ(received, (std::vector<std::pair<std::wstring, int>>{{L"Prozessor wird gelesen …", 23},
                                                                   {L"Speicher wird gelesen …", 31}}));

    // With the window gone the post fails and the callback keeps its payload to itself.
    DestroyWindow(window);
    window = nullptr;
    progress(L"zu spät", 50);
}

TEST_F(MainWindowTest, ScanStartsFromAClearSlateAndItsReportArrivesThroughTheQueue) {
    OnScanDone(state, SampleReport());
    StartScan(state);

    // While the scan runs: no timer, nothing to press but the menu, the tiles without values.
    EXPECT_TRUE(state.scanning);
    EXPECT_FALSE(TimerRunning(window));
    EXPECT_EQ(ButtonStates(state), std::vector<bool>(5, false));
    EXPECT_EQ(WindowText(state.statusLabel), L"Hardwareanalyse wird gestartet …");
    EXPECT_EQ(SendMessageW(state.progressBar, PBM_GETPOS, 0, 0), 0);
    for (const LoadTile& tile : state.tiles) {
        EXPECT_EQ(tile.percent, -1);
    }
    // The previous report stays shown until the new one is there.
    EXPECT_EQ(state.report->categories.size(), 3u);
    StartScan(state);

    const DWORD deadline = GetTickCount() + 120000;
    MSG message{};
    while (state.scanning && GetTickCount() < deadline) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        }
    }
    ASSERT_FALSE(state.scanning) << "no report within two minutes";
    ASSERT_NE(state.report, nullptr);
    ASSERT_FALSE(state.report->categories.empty());
    EXPECT_EQ(state.report->categories[0].name, L"Aktuelle Auslastung");
    EXPECT_EQ(state.tiles[0].percent, state.report->load.cpuPercent);
    EXPECT_EQ(WindowText(state.statusLabel).rfind(L"Analyse abgeschlossen: ", 0), 0u);
    EXPECT_TRUE(TimerRunning(window));
}
