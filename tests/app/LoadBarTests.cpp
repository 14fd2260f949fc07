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
