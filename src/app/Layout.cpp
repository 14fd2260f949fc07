#include "app/Layout.h"

#include <algorithm>

namespace {

constexpr int kMargin = 22;
constexpr int kButtonTop = 83;
constexpr int kButtonHeight = 34;
constexpr int kTileTop = 130;
constexpr int kTileHeight = 48;
constexpr int kTileGap = 10;
constexpr int kMinTileWidth = 170;
constexpr int kContentTop = 198;
// The status line and the progress bar sit in the band below the content.
constexpr int kContentBottomGap = 52;

} // namespace

MainLayout ComputeLayout(int width, int height) {
    MainLayout layout;
    layout.title = {kMargin, 12, width - 2 * kMargin, 34};
    layout.subtitle = {kMargin, 46, width - 2 * kMargin, 22};
    layout.rescanButton = {22, kButtonTop, 142, kButtonHeight};
    layout.txtButton = {174, kButtonTop, 132, kButtonHeight};
    layout.jsonButton = {316, kButtonTop, 136, kButtonHeight};
    layout.pdfButton = {462, kButtonTop, 142, kButtonHeight};
    layout.copyButton = {614, kButtonTop, 150, kButtonHeight};

    const int tileWidth = std::max(kMinTileWidth, (width - 74) / 4);
    for (int i = 0; i < 4; ++i) {
        layout.tiles[static_cast<size_t>(i)] = {kMargin + i * (tileWidth + kTileGap), kTileTop, tileWidth,
                                                kTileHeight};
    }

    const int treeWidth = std::clamp(width / 4, 235, 330);
    const int contentHeight = height - (kContentTop + kContentBottomGap);
    layout.tree = {kMargin, kContentTop, treeWidth, contentHeight};
    layout.details = {treeWidth + 34, kContentTop, width - treeWidth - 56, contentHeight};
    layout.status = {kMargin, height - 28, width - 234, 22};
    layout.progress = {width - 202, height - 25, 180, 13};
    return layout;
}

Box CenteredWindowBox(int left, int top, int right, int bottom, int width, int height) {
    return {left + std::max(0, (right - left - width) / 2), top + std::max(0, (bottom - top - height) / 2), width,
            height};
}

TileLayout ComputeTileLayout(int clientWidth) {
    return {{10, 5, clientWidth - 58, 24}, {clientWidth - 55, 5, clientWidth - 8, 24}, {10, 30, clientWidth - 10, 41}};
}

int FilledBarColumns(int width, int percent) {
    if (percent < 0) {
        return 0;
    }
    return std::max(0, width) * std::clamp(percent, 0, 100) / 100;
}

int BarColumnPosition(int x, int width) {
    return width >= 2 ? x * 100 / (width - 1) : 0;
}
