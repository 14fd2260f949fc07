#pragma once

// The window's fixed dark palette. Values use the platform's 0x00BBGGRR layout so they pass
// straight to GDI and control messages, while this header stays free of window headers.

#include <cstdint>

using Colour = uint32_t;

constexpr Colour MakeColour(int red, int green, int blue) {
    return static_cast<Colour>(red & 0xFF) | static_cast<Colour>(green & 0xFF) << 8 |
           static_cast<Colour>(blue & 0xFF) << 16;
}

constexpr int RedOf(Colour colour) { return static_cast<int>(colour & 0xFF); }
constexpr int GreenOf(Colour colour) { return static_cast<int>((colour >> 8) & 0xFF); }
constexpr int BlueOf(Colour colour) { return static_cast<int>((colour >> 16) & 0xFF); }

inline constexpr Colour WindowColor = MakeColour(15, 20, 28);
inline constexpr Colour PanelColor = MakeColour(24, 31, 42);
inline constexpr Colour TileColor = MakeColour(31, 40, 54);
inline constexpr Colour TrackColor = MakeColour(48, 58, 72);
inline constexpr Colour TextColor = MakeColour(235, 241, 250);
inline constexpr Colour SecondaryTextColor = MakeColour(156, 169, 188);
inline constexpr Colour AccentColor = MakeColour(52, 133, 246);
inline constexpr Colour IdleColor = MakeColour(116, 136, 162);
inline constexpr Colour GoodColor = MakeColour(54, 190, 108);
inline constexpr Colour WarningColor = MakeColour(245, 164, 45);
inline constexpr Colour CriticalColor = MakeColour(235, 64, 64);
inline constexpr Colour HeadingColor = MakeColour(28, 82, 150);
inline constexpr Colour RecordTitleColor = MakeColour(126, 190, 255);
inline constexpr Colour SelectionColor = MakeColour(35, 105, 205);
inline constexpr Colour WhiteColor = MakeColour(255, 255, 255);
// Transparent colour of the category icon bitmaps.
inline constexpr Colour IconMaskColor = MakeColour(255, 0, 255);
