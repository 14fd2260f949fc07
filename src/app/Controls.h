#pragma once

// The furniture of the main window: menu bar, child controls, fonts, tree icons and layout.

#include "app/AppState.h"
#include "app/Palette.h"

#include <windows.h>

void CreateMainMenu(HWND window);
void CreateMainControls(AppState& state);
void LayoutControls(AppState& state, int width, int height);

void ApplyFont(HWND control, HFONT font);
HMENU ControlId(int id);

// A new 24 x 24 icon bitmap, owned by the caller: a disc with one white letter on magenta.
HBITMAP MakeCategoryIcon(HWND window, Colour colour, wchar_t letter);

// Colours, text limit and options of the details pane, rich edit or plain EDIT.
void ConfigureDetailsView(HWND details, bool richEdit);
