#pragma once

// Where every control of the main window and every part of a load tile goes, in client pixels.
// Sizes are fixed pixels: nothing is scaled by DPI.

#include <array>

struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Box&) const = default;
};

struct MainLayout {
    Box title;
    Box subtitle;
    Box rescanButton;
    Box txtButton;
    Box jsonButton;
    Box pdfButton;
    Box copyButton;
    std::array<Box, 4> tiles;
    Box tree;
    Box details;
    Box status;
    Box progress;
};

// For a client area of the given size; a minimised window (0 x 0) gets no special case.
MainLayout ComputeLayout(int width, int height);

// A window of the given size centred in the work area; one larger than the area starts at its
// top-left corner.
Box CenteredWindowBox(int left, int top, int right, int bottom, int width, int height);

// Edges of one part of a load tile.
struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const Edges&) const = default;
};

struct TileLayout {
    Edges caption;
    Edges value;
    Edges bar;
};

TileLayout ComputeTileLayout(int clientWidth);

// Number of filled columns of a bar `width` pixels wide; a negative percent fills nothing.
int FilledBarColumns(int width, int percent);

// Position 0..100 along the bar of column x, which picks the column's gradient colour.
int BarColumnPosition(int x, int width);
