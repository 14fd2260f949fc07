#pragma once

// The category tree and the styled details pane.

#include "app/AppState.h"
#include "app/Palette.h"

#include <windows.h>

#include <string>

// Refills the tree from the report and shows the first category.
void PopulateCategoryTree(AppState& state);

// Shows category `index` in the details pane; an index outside the report leaves it empty.
void RenderCategory(AppState& state, size_t index);

void AppendStyledText(HWND control, const std::wstring& text, Colour colour, bool bold, int heightTwips,
                      Colour backColour);
