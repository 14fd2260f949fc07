#include "app/Controls.h"
#include "app/Gdi.h"
#include "app/LoadBar.h"
#include "app/Palette.h"
#include "app/ValueColours.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// A 32-bit top-down DIB section selected into a memory context, pixels readable directly.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<const uint32_t*>(bits);
        previous_ = SelectObject(dc_.get(), bitmap_.get());
    }
    ~Canvas() { SelectObject(dc_.get(), previous_); }

    HDC dc() const { return dc_.get(); }

    Colour At(int x, int y) const {
        GdiFlush();
        const uint32_t bgra = pixels_[y * width_ + x];
        return MakeColour((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }

private:
    int width_;
    MemoryDc dc_;
    BitmapHandle bitmap_;
    const uint32_t* pixels_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

const Colour kFrameGray = MakeColour(128, 128, 128);

} // namespace

TEST(DrawLoadBar, FillsColumnsByTheirPlaceAlongTheBar) {
    Canvas canvas(170, 20);
    const RECT bar{10, 4, 160, 15};  // 150 pixels wide
    DrawLoadBar(canvas.dc(), bar, 40);
    const int middle = 9;
    EXPECT_EQ(canvas.At(10, middle), kFrameGray);
    EXPECT_EQ(canvas.At(11, middle), GradientColor(0));
    EXPECT_EQ(canvas.At(10 + 30, middle), GradientColor(20));
    EXPECT_EQ(canvas.At(10 + 59, middle), GradientColor(39));
    EXPECT_EQ(canvas.At(10 + 60, middle), TrackColor);
    EXPECT_EQ(canvas.At(159, middle), kFrameGray);
    EXPECT_EQ(canvas.At(50, 4), kFrameGray);
    // Nothing outside the rectangle is touched.
    EXPECT_EQ(canvas.At(50, 15), MakeColour(0, 0, 0));
}

TEST(DrawLoadBar, FullBarEndsInTheCriticalColour) {
    Canvas canvas(150, 11);
    DrawLoadBar(canvas.dc(), RECT{0, 0, 150, 11}, 130);
    EXPECT_EQ(canvas.At(148, 5), GradientColor(148 * 100 / 149));
}

TEST(DrawLoadBar, UnavailableValueShowsOnlyTheTrackWithoutFrame) {
    Canvas canvas(60, 11);
    DrawLoadBar(canvas.dc(), RECT{0, 0, 60, 11}, -1);
    EXPECT_EQ(canvas.At(0, 0), TrackColor);
    EXPECT_EQ(canvas.At(30, 5), TrackColor);
    EXPECT_EQ(canvas.At(59, 10), TrackColor);
}

TEST(DrawLoadBar, ZeroPercentShowsTrackAndFrame) {
    Canvas canvas(60, 11);
    DrawLoadBar(canvas.dc(), RECT{0, 0, 60, 11}, 0);
    EXPECT_EQ(canvas.At(0, 5), kFrameGray);
    EXPECT_EQ(canvas.At(1, 5), TrackColor);
}

TEST(MakeCategoryIcon, DiscOnMagentaWithLightOutline) {
    BitmapHandle icon(MakeCategoryIcon(GetDesktopWindow(), MakeColour(52, 133, 246), L'S'));
    ASSERT_TRUE(icon);
    BITMAP info{};
    GetObjectW(icon.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 24);
    EXPECT_EQ(info.bmHeight, 24);

    MemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), icon.get());
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), IconMaskColor);
    EXPECT_EQ(GetPixel(dc.get(), 23, 23), IconMaskColor);
    EXPECT_EQ(GetPixel(dc.get(), 12, 4), MakeColour(52, 133, 246));
    EXPECT_EQ(GetPixel(dc.get(), 12, 2), TextColor);
}

namespace {

// A tile window on screen, bound to `tile`, painted once.
class ShownTile {
public:
    explicit ShownTile(LoadTile& tile) {
        RegisterLoadBarClass(GetModuleHandleW(nullptr));
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kLoadBarClass, L"", WS_POPUP | WS_VISIBLE, 40, 40, 240, 48, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), &tile);
        tile.tileWindow = window_;
        if (window_) {
            UpdateWindow(window_);
        }
    }
    ~ShownTile() {
        if (window_) {
            DestroyWindow(window_);
        }
    }
    HWND get() const { return window_; }

    // How many pixels of the rectangle have exactly this colour, read from one copy of the tile.
    int Count(const RECT& area, Colour colour) const {
        Canvas copy(240, 48);
        HDC dc = GetDC(window_);
        BitBlt(copy.dc(), 0, 0, 240, 48, dc, 0, 0, SRCCOPY);
        ReleaseDC(window_, dc);
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                count += copy.At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }

private:
    HWND window_ = nullptr;
};

} // namespace

// One window for every case: Wine takes about two seconds to take a top-level window down.
TEST(LoadTileWindow, PaintsCaptionValueAndBarInTheirColours) {
    LoadTile tile{L"Arbeitsspeicher", 95};
    ShownTile shown(tile);
    ASSERT_NE(shown.get(), nullptr);
    ASSERT_EQ(reinterpret_cast<LoadTile*>(GetWindowLongPtrW(shown.get(), GWLP_USERDATA)), &tile);

    const RECT caption{10, 5, 240 - 58, 24};
    const RECT value{240 - 55, 5, 240 - 8, 24};
    const RECT bar{10, 30, 230, 41};
    EXPECT_EQ(shown.Count(RECT{0, 0, 8, 4}, TileColor), 32);
    EXPECT_GT(shown.Count(caption, SecondaryTextColor), 0);
    EXPECT_EQ(shown.Count(caption, CriticalColor), 0);
    EXPECT_GT(shown.Count(value, CriticalColor), 0);
    EXPECT_EQ(shown.Count(value, SecondaryTextColor), 0);
    EXPECT_EQ(shown.Count(RECT{10, 30, 230, 31}, MakeColour(128, 128, 128)), 220);

    // Not available: a grey value over an empty, unframed track.
    tile.percent = -1;
    InvalidateRect(shown.get(), nullptr, TRUE);
    UpdateWindow(shown.get());
    EXPECT_GT(shown.Count(value, SecondaryTextColor), 0);
    EXPECT_EQ(shown.Count(value, CriticalColor), 0);
    EXPECT_EQ(shown.Count(bar, TrackColor), 220 * 11);

    // Idle: its own colour, and the frame comes back.
    tile.percent = 0;
    InvalidateRect(shown.get(), nullptr, TRUE);
    UpdateWindow(shown.get());
    EXPECT_GT(shown.Count(value, IdleColor), 0);
    EXPECT_EQ(shown.Count(RECT{10, 30, 230, 31}, MakeColour(128, 128, 128)), 220);
}
