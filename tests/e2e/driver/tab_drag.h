#pragma once

#include <windows.h>

#include <gtest/gtest.h>

// Dragging tabs with real mouse input.

// The screen point over the middle of a tab; the tabs all have the same
// width, as their titles are short, so the "+" behind them tells it.
[[nodiscard]] POINT TabCentre(HWND strip, int index, int tabs);

// Presses on a strip's tab, drags it past the drag threshold and on to a point,
// and drops it there; each step waits for the one before to take effect.
[[nodiscard]] testing::AssertionResult DragTab(HWND strip, POINT from, POINT to);
