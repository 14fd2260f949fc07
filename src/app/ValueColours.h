#pragma once

// How values are judged: traffic-light colours for field values and load percentages, and the
// small text readers those rules rest on.

#include "app/Palette.h"

#include <string>

// The first number in the text (a decimal comma reads as a point), or -1.0.
double ParseLeadingNumber(const std::wstring& text);

// The whole percent before the first "%", clamped to 0..100, or -1.
int ParsePercent(const std::wstring& text);

Colour FieldValueColor(const std::wstring& label, const std::wstring& value);
Colour LoadLevelColor(int percent);

// Colour at a position 0..100 along a load bar: green, through amber at 70, to red.
Colour GradientColor(int position);
