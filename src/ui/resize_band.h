#pragma once

#include <windows.h>

// Whether a screen point lies within the 8-pixel resize band along the edges of a
// window rectangle (the right and bottom edges are exclusive).
[[nodiscard]] bool InResizeBandOfRect(const RECT& window, POINT point);

// Whether a screen point lies in the resize band of the window's top-level window;
// never while that window is maximised.
[[nodiscard]] bool InResizeBand(HWND window, POINT point);

// Answers WM_SETCURSOR for a window inside a frameless top-level window: shows
// the arrow and returns true while the cursor is in the top-level resize band.
bool ShowArrowInResizeBand(HWND window);

// Gives every current descendant of parent a subclass that, within the top-level
// window's resize band, answers hit tests as client area and shows the arrow, so
// that child windows never show their own resize cursors at the frame's edges.
void BorderCursorSubclass(HWND parent);
