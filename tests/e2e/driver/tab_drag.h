#pragma once

#include <windows.h>

// Dragging tabs with real mouse input.

// The screen point over the middle of a tab; the tabs all have the same
// width, as their titles are short, so the "+" behind them tells it.
[[nodiscard]] POINT TabCentre(HWND strip, int index, int tabs);

// Drags a tab past the drag threshold and on to a point, where it drops it.
void DragTab(POINT from, POINT to);
