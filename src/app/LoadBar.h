#pragma once

// The four painted load tiles: caption, percentage and a gradient bar.

#include <windows.h>

inline constexpr wchar_t kLoadBarClass[] = L"Orvenna.Velquist.LoadBar";

bool RegisterLoadBarClass(HINSTANCE instance);

// The window's user data points at the LoadTile it draws, bound at WM_NCCREATE.
LRESULT CALLBACK LoadBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void DrawLoadBar(HDC dc, const RECT& rect, int percent);
