#include "app/LoadBar.h"

#include "app/AppState.h"
#include "app/Gdi.h"
#include "app/Layout.h"
#include "app/Palette.h"
#include "app/ReportView.h"
#include "app/ValueColours.h"

#include <algorithm>
#include <string>

namespace {

RECT ToRect(const Edges& edges) {
    return {edges.left, edges.top, edges.right, edges.bottom};
}

void PaintTile(HWND window, const LoadTile& tile) {
    PaintScope paint(window);
    const HDC dc = paint.get();
    RECT client{};
    GetClientRect(window, &client);
    {
        BrushHandle background(CreateSolidBrush(TileColor));
        FillRect(dc, &client, background.get());
    }
    SetBkMode(dc, TRANSPARENT);
    SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    const TileLayout layout = ComputeTileLayout(client.right);

    RECT caption = ToRect(layout.caption);
    SetTextColor(dc, SecondaryTextColor);
    DrawTextW(dc, tile.label.c_str(), static_cast<int>(tile.label.size()), &caption,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE);

    RECT value = ToRect(layout.value);
    const std::wstring valueText = LoadTileValueText(tile.percent);
    SetTextColor(dc, LoadLevelColor(tile.percent));
    DrawTextW(dc, valueText.c_str(), static_cast<int>(valueText.size()), &value,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE);

    DrawLoadBar(dc, ToRect(layout.bar), tile.percent);
}

} // namespace

bool RegisterLoadBarClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = LoadBarProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kLoadBarClass;
    return RegisterClassExW(&windowClass) != 0;
}

LRESULT CALLBACK LoadBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* tile = reinterpret_cast<const LoadTile*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_PAINT:
        if (tile) {
            try {
                PaintTile(window, *tile);
            } catch (...) {
                // A tile that cannot format its text stays as painted so far.
            }
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void DrawLoadBar(HDC dc, const RECT& rect, int percent) {
    {
        BrushHandle track(CreateSolidBrush(TrackColor));
        FillRect(dc, &rect, track.get());
    }
    // An unavailable value shows only the empty track, without a frame.
    if (percent < 0) {
        return;
    }
    const int width = std::max(0, static_cast<int>(rect.right - rect.left));
    const int filled = FilledBarColumns(width, percent);
    for (int x = 0; x < filled; ++x) {
        PenHandle pen(CreatePen(PS_SOLID, 1, GradientColor(BarColumnPosition(x, width))));
        SelectedObject selected(dc, pen.get());
        MoveToEx(dc, rect.left + x, rect.top, nullptr);
        LineTo(dc, rect.left + x, rect.bottom);
    }
    FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
}
