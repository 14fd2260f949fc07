#include "app/Controls.h"

#include "app/Layout.h"
#include "app/LoadBar.h"
#include "app/MainWindow.h"
#include "model/Version.h"

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <uxtheme.h>

#include <array>
#include <string>

namespace {

// Generous enough for any category; both control kinds would otherwise cut long text silently.
constexpr LPARAM kDetailsTextLimit = 0x1000000;

struct CategoryIcon {
    wchar_t letter;
    Colour disc;
};

constexpr std::array<CategoryIcon, 10> kCategoryIcons = {{
    {L'S', MakeColour(52, 133, 246)},
    {L'C', MakeColour(118, 78, 220)},
    {L'P', MakeColour(34, 164, 140)},
    {L'B', MakeColour(230, 92, 75)},
    {L'M', MakeColour(222, 151, 38)},
    {L'R', MakeColour(64, 176, 91)},
    {L'D', MakeColour(30, 151, 210)},
    {L'G', MakeColour(196, 76, 154)},
    {L'N', MakeColour(105, 119, 140)},
    {L'T', MakeColour(233, 112, 45)},
}};

HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle = 0,
                 int id = 0, void* parameter = nullptr) {
    return CreateWindowExW(exStyle, className, text, style, 0, 0, 0, 0, parent, id ? ControlId(id) : nullptr,
                           nullptr, parameter);
}

HFONT CreateUiFont(int height, int weight) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Segoe UI");
}

void Place(HWND control, const Box& box) {
    MoveWindow(control, box.x, box.y, box.width, box.height, TRUE);
}

void CreateTreeIcons(AppState& state) {
    state.treeIcons.reset(ImageList_Create(24, 24, ILC_COLOR32 | ILC_MASK, 10, 2));
    for (const CategoryIcon& icon : kCategoryIcons) {
        BitmapHandle bitmap(MakeCategoryIcon(state.hwnd, icon.disc, icon.letter));
        ImageList_AddMasked(state.treeIcons.get(), bitmap.get(), IconMaskColor);
    }
    SendMessageW(state.categoryTree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(state.treeIcons.get()));
}

} // namespace

void CreateMainMenu(HWND window) {
    MenuHandle bar(CreateMenu());
    MenuHandle file(CreatePopupMenu());
    MenuHandle analysis(CreatePopupMenu());
    if (!bar || !file || !analysis) {
        return;
    }
    AppendMenuW(file.get(), MF_STRING, IDC_EXPORT_PDF, L"PDF-Report erstellen…");
    AppendMenuW(file.get(), MF_STRING, IDC_EXPORT_TXT, L"TXT-Bericht exportieren…");
    AppendMenuW(file.get(), MF_STRING, IDC_EXPORT_JSON, L"JSON-Bericht exportieren…");
    AppendMenuW(file.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file.get(), MF_STRING, IDM_EXIT, L"Beenden");
    // Once appended, a popup belongs to the bar, and the bar to the window once it is set.
    if (AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(file.get()), L"Datei")) {
        file.release();
    }
    AppendMenuW(analysis.get(), MF_STRING, IDC_RESCAN, L"Hardware neu analysieren");
    if (AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(analysis.get()), L"Analyse")) {
        analysis.release();
    }
    if (SetMenu(window, bar.get())) {
        bar.release();
    }
}

void CreateMainControls(AppState& state) {
    const HWND parent = state.hwnd;
    constexpr DWORD visibleChild = WS_CHILD | WS_VISIBLE;
    const std::wstring subtitle =
        L"Technische Hardwareanalyse, Zustandsbewertung und Live-Auslastung · " + BuildVersionLine();

    state.titleLabel = CreateChild(parent, L"STATIC", L"Velquist", visibleChild);
    state.subtitleLabel = CreateChild(parent, L"STATIC", subtitle.c_str(), visibleChild);
    state.rescanButton = CreateChild(parent, L"BUTTON", L"↻  Neu analysieren", visibleChild, 0, IDC_RESCAN);
    state.txtButton = CreateChild(parent, L"BUTTON", L"TXT exportieren", visibleChild, 0, IDC_EXPORT_TXT);
    state.jsonButton = CreateChild(parent, L"BUTTON", L"JSON exportieren", visibleChild, 0, IDC_EXPORT_JSON);
    state.pdfButton = CreateChild(parent, L"BUTTON", L"PDF-Report", visibleChild, 0, IDC_EXPORT_PDF);
    state.copyButton = CreateChild(parent, L"BUTTON", L"Kategorie kopieren", visibleChild, 0, IDC_COPY_CATEGORY);

    state.categoryTree = CreateChild(parent, WC_TREEVIEWW, L"",
                                     visibleChild | WS_TABSTOP | TVS_NOHSCROLL | TVS_FULLROWSELECT | TVS_SHOWSELALWAYS,
                                     WS_EX_CLIENTEDGE, IDC_TREE);

    state.richEditModule = LoadLibraryW(L"Msftedit.dll");
    const bool richEdit = state.richEditModule != nullptr;
    state.detailsView = CreateChild(parent, richEdit ? MSFTEDIT_CLASS : L"EDIT", L"",
                                    visibleChild | WS_VSCROLL | WS_TABSTOP | ES_READONLY | ES_NOHIDESEL |
                                        ES_AUTOVSCROLL | ES_MULTILINE,
                                    WS_EX_CLIENTEDGE, IDC_DETAILS);

    state.statusLabel = CreateChild(parent, L"STATIC", L"Bereit", visibleChild);
    state.progressBar = CreateChild(parent, PROGRESS_CLASSW, L"", visibleChild | PBS_SMOOTH, 0, IDC_PROGRESS);
    for (LoadTile& tile : state.tiles) {
        tile.tileWindow = CreateChild(parent, kLoadBarClass, L"", visibleChild, 0, 0, &tile);
    }

    state.bodyFont.reset(CreateUiFont(-16, FW_NORMAL));
    state.titleFont.reset(CreateUiFont(-28, FW_SEMIBOLD));
    for (HWND control : {state.subtitleLabel, state.categoryTree, state.detailsView, state.statusLabel,
                         state.rescanButton, state.txtButton, state.jsonButton, state.pdfButton, state.copyButton}) {
        ApplyFont(control, state.bodyFont.get());
    }
    ApplyFont(state.titleLabel, state.titleFont.get());

    ConfigureDetailsView(state.detailsView, richEdit);

    SendMessageW(state.categoryTree, TVM_SETBKCOLOR, 0, PanelColor);
    SendMessageW(state.categoryTree, TVM_SETTEXTCOLOR, 0, TextColor);
    SendMessageW(state.categoryTree, TVM_SETLINECOLOR, 0, TileColor);
    SetWindowTheme(state.categoryTree, L"", L"");
    CreateTreeIcons(state);

    SendMessageW(state.progressBar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageW(state.progressBar, PBM_SETBARCOLOR, 0, AccentColor);
    // A themed bar draws the theme's colour and ignores the one above. A blank name matches no
    // theme class, which leaves the theme on Windows and under Wine alike; Wine refuses the
    // empty name.
    SetWindowTheme(state.progressBar, L" ", L" ");

    EnableActions(state, false);
}

void ConfigureDetailsView(HWND details, bool richEdit) {
    if (!richEdit) {
        SendMessageW(details, EM_SETLIMITTEXT, static_cast<WPARAM>(kDetailsTextLimit), 0);
        return;
    }
    SendMessageW(details, EM_SETBKGNDCOLOR, 0, PanelColor);
    SendMessageW(details, EM_EXLIMITTEXT, 0, kDetailsTextLimit);
    SendMessageW(details, EM_SETOPTIONS, ECOOP_OR, ECO_AUTOWORDSELECTION | ECO_AUTOVSCROLL);
}

void LayoutControls(AppState& state, int width, int height) {
    const MainLayout layout = ComputeLayout(width, height);
    Place(state.titleLabel, layout.title);
    Place(state.subtitleLabel, layout.subtitle);
    Place(state.rescanButton, layout.rescanButton);
    Place(state.txtButton, layout.txtButton);
    Place(state.jsonButton, layout.jsonButton);
    Place(state.pdfButton, layout.pdfButton);
    Place(state.copyButton, layout.copyButton);
    for (size_t i = 0; i < state.tiles.size(); ++i) {
        Place(state.tiles[i].tileWindow, layout.tiles[i]);
    }
    Place(state.categoryTree, layout.tree);
    Place(state.detailsView, layout.details);
    Place(state.statusLabel, layout.status);
    Place(state.progressBar, layout.progress);
}

void ApplyFont(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HMENU ControlId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

HBITMAP MakeCategoryIcon(HWND window, Colour colour, wchar_t letter) {
    constexpr int size = 24;
    WindowDc screen(window);
    if (!screen.get()) {
        return nullptr;
    }
    MemoryDc memory(CreateCompatibleDC(screen.get()));
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), size, size));
    if (!memory || !bitmap) {
        return nullptr;
    }
    {
        SelectedObject selectedBitmap(memory.get(), bitmap.get());
        RECT whole{0, 0, size, size};
        {
            BrushHandle mask(CreateSolidBrush(IconMaskColor));
            FillRect(memory.get(), &whole, mask.get());
        }
        BrushHandle disc(CreateSolidBrush(colour));
        PenHandle outline(CreatePen(PS_SOLID, 1, TextColor));
        {
            SelectedObject selectedBrush(memory.get(), disc.get());
            SelectedObject selectedPen(memory.get(), outline.get());
            Ellipse(memory.get(), 2, 2, 22, 22);
        }
        SetBkMode(memory.get(), TRANSPARENT);
        SetTextColor(memory.get(), WhiteColor);
        SelectedObject selectedFont(memory.get(), GetStockObject(DEFAULT_GUI_FONT));
        const wchar_t text[] = {letter, L'\0'};
        DrawTextW(memory.get(), text, 1, &whole, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    return bitmap.release();
}
