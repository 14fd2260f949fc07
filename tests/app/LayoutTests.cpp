#include "app/Layout.h"

#include <gtest/gtest.h>

namespace {

std::vector<Box> AllBoxes(const MainLayout& layout) {
    std::vector<Box> boxes = {layout.title,      layout.subtitle,   layout.rescanButton, layout.txtButton,
                              layout.jsonButton, layout.pdfButton,  layout.copyButton,   layout.tree,
                              layout.details,    layout.status,     layout.progress};
    boxes.insert(boxes.end(), layout.tiles.begin(), layout.tiles.end());
    return boxes;
}

} // namespace

TEST(ComputeLayout, EverySizeIsPositiveFromTheMinimumWindowUp) {
    // 980 x 650 outer size leaves about 964 x 580 of client area with a menu bar.
    for (int width : {964, 1000, 1344, 1920, 3840}) {
        for (int height : {580, 700, 791, 2160}) {
            for (const Box& box : AllBoxes(ComputeLayout(width, height))) {
                EXPECT_GT(box.width, 0) << width << "x" << height;
                EXPECT_GT(box.height, 0) << width << "x" << height;
            }
        }
    }
}

TEST(ComputeLayout, TreeWidthIsClampedAndDetailsTakeTheRest) {
    MainLayout narrow = ComputeLayout(900, 700);
    EXPECT_EQ(narrow.tree, (Box{22, 198, 235, 450}));
    EXPECT_EQ(narrow.details, (Box{269, 198, 900 - 235 - 56, 450}));

    MainLayout wide = ComputeLayout(1600, 900);
    EXPECT_EQ(wide.tree.width, 330);
    EXPECT_EQ(wide.details.x, 364);
    EXPECT_EQ(wide.details.x + wide.details.width, 1600 - 22);

    EXPECT_EQ(ComputeLayout(1200, 700).tree.width, 300);
}

TEST(ComputeLayout, TilesEndAtTheMarginFromWidth754AndKeep170BelowIt) {
    for (int width : {754, 758, 1002, 1346}) {
        const MainLayout layout = ComputeLayout(width, 800);
        const Box& last = layout.tiles[3];
        EXPECT_EQ(last.x + last.width, width - 22) << width;
        EXPECT_EQ(layout.tiles[1].x - (layout.tiles[0].x + layout.tiles[0].width), 10);
    }
    // Between multiples of four the division leaves up to three pixels of extra margin.
    const Box last = ComputeLayout(1001, 800).tiles[3];
    EXPECT_EQ(last.x + last.width, 1001 - 22 - 3);

    const MainLayout small = ComputeLayout(600, 800);
    for (const Box& tile : small.tiles) {
        EXPECT_EQ(tile.width, 170);
        EXPECT_EQ(tile.y, 130);
        EXPECT_EQ(tile.height, 48);
    }
    EXPECT_EQ(small.tiles[3].x, 22 + 3 * 180);
}

TEST(ComputeLayout, ButtonsKeepTheirPlacesAtEveryWidth) {
    const MainLayout a = ComputeLayout(700, 600);
    const MainLayout b = ComputeLayout(2500, 1400);
    EXPECT_EQ(a.rescanButton, (Box{22, 83, 142, 34}));
    EXPECT_EQ(a.txtButton, (Box{174, 83, 132, 34}));
    EXPECT_EQ(a.jsonButton, (Box{316, 83, 136, 34}));
    EXPECT_EQ(a.pdfButton, (Box{462, 83, 142, 34}));
    EXPECT_EQ(a.copyButton, (Box{614, 83, 150, 34}));
    EXPECT_EQ(a.copyButton, b.copyButton);
}

TEST(ComputeLayout, StatusBandSitsAtTheBottom) {
    const MainLayout layout = ComputeLayout(1344, 791);
    EXPECT_EQ(layout.status, (Box{22, 763, 1110, 22}));
    EXPECT_EQ(layout.progress, (Box{1142, 766, 180, 13}));
    EXPECT_EQ(layout.tree.y + layout.tree.height, 791 - 52);
}

TEST(ComputeLayout, MinimisedWindowGivesNegativeSizesWithoutSpecialCase) {
    const MainLayout layout = ComputeLayout(0, 0);
    EXPECT_EQ(layout.title.width, -44);
    EXPECT_EQ(layout.tree.height, -250);
    EXPECT_EQ(layout.tiles[0].width, 170);
}

TEST(ComputeTileLayout, PartsFollowTheClientWidth) {
    const TileLayout tile = ComputeTileLayout(200);
    EXPECT_EQ(tile.caption, (Edges{10, 5, 142, 24}));
    EXPECT_EQ(tile.value, (Edges{145, 5, 192, 24}));
    EXPECT_EQ(tile.value.right - tile.value.left, 47);
    EXPECT_EQ(tile.bar, (Edges{10, 30, 190, 41}));
}

TEST(FilledBarColumns, ScalesWithTheClampedPercent) {
    EXPECT_EQ(FilledBarColumns(150, 100), 150);
    EXPECT_EQ(FilledBarColumns(150, 40), 60);
    EXPECT_EQ(FilledBarColumns(150, 130), 150);
    EXPECT_EQ(FilledBarColumns(150, 0), 0);
    EXPECT_EQ(FilledBarColumns(150, -1), 0);
    EXPECT_EQ(FilledBarColumns(-5, 50), 0);
    EXPECT_EQ(FilledBarColumns(99, 50), 49);
}

TEST(BarColumnPosition, RunsAlongTheWholeBar) {
    EXPECT_EQ(BarColumnPosition(0, 150), 0);
    EXPECT_EQ(BarColumnPosition(149, 150), 100);
    // At 40 % of a 150-pixel bar the last filled column is 59.
    EXPECT_EQ(BarColumnPosition(59, 150), 39);
    EXPECT_EQ(BarColumnPosition(0, 1), 0);
    EXPECT_EQ(BarColumnPosition(5, 1), 0);
}

TEST(CenteredWindowBox, CentresInsideTheWorkAreaAndNeverStartsOutsideIt) {
    EXPECT_EQ(CenteredWindowBox(0, 0, 1920, 1040, 1360, 850), (Box{280, 95, 1360, 850}));
    // A work area that does not start at the origin (task bar on the left or top).
    EXPECT_EQ(CenteredWindowBox(60, 40, 1980, 1080, 1360, 850), (Box{340, 135, 1360, 850}));
    // Too small in both directions: the top-left corner, full size.
    EXPECT_EQ(CenteredWindowBox(100, 30, 1124, 798, 1360, 850), (Box{100, 30, 1360, 850}));
    // Too narrow only: still centred vertically.
    EXPECT_EQ(CenteredWindowBox(0, 0, 1280, 1050, 1360, 850), (Box{0, 100, 1360, 850}));
    // A failed work-area query leaves a zero rectangle.
    EXPECT_EQ(CenteredWindowBox(0, 0, 0, 0, 1360, 850), (Box{0, 0, 1360, 850}));
    // Odd remainders are dropped, not rounded.
    EXPECT_EQ(CenteredWindowBox(0, 0, 1363, 853, 1360, 850), (Box{1, 1, 1360, 850}));
}
