#include "app/CategoryView.h"

#include "app/ReportView.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <iterator>

void PopulateCategoryTree(AppState& state) {
    SendMessageW(state.categoryTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    if (!state.report) {
        return;
    }
    const std::vector<ReportCategory>& categories = state.report->categories;
    for (size_t i = 0; i < categories.size(); ++i) {
        std::wstring text = TreeItemText(categories[i]);
        TVINSERTSTRUCTW insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = text.data();
        insert.item.iImage = TreeItemImage(i);
        insert.item.iSelectedImage = insert.item.iImage;
        insert.item.lParam = static_cast<LPARAM>(i);
        const auto item = reinterpret_cast<HTREEITEM>(
            SendMessageW(state.categoryTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        if (i == 0 && item) {
            SendMessageW(state.categoryTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        }
    }
    RenderCategory(state, 0);
}

void RenderCategory(AppState& state, size_t index) {
    const HWND details = state.detailsView;
    SendMessageW(details, EM_SETREADONLY, FALSE, 0);
    SetWindowTextW(details, L"");
    if (!state.report || index >= state.report->categories.size()) {
        SendMessageW(details, EM_SETREADONLY, TRUE, 0);
        return;
    }
    state.selectedCategory = index;
    for (const StyledPiece& piece : RenderCategoryPieces(state.report->categories[index])) {
        AppendStyledText(details, piece.text, piece.colour, piece.bold, piece.heightTwips, piece.backColour);
    }
    SendMessageW(details, EM_SETSEL, 0, 0);
    SendMessageW(details, EM_SCROLLCARET, 0, 0);
    SendMessageW(details, EM_SETREADONLY, TRUE, 0);
}

void AppendStyledText(HWND control, const std::wstring& text, Colour colour, bool bold, int heightTwips,
                      Colour backColour) {
    const auto length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(length), length);

    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD | CFM_COLOR | CFM_SIZE | CFM_FACE | CFM_BACKCOLOR;
    format.dwEffects = bold ? CFE_BOLD : 0;
    format.yHeight = heightTwips;
    format.crTextColor = colour;
    format.crBackColor = backColour;
    constexpr wchar_t face[] = L"Segoe UI";
    std::copy(std::begin(face), std::end(face), format.szFaceName);
    SendMessageW(control, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}
