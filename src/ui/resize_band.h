#pragma once

#include <windows.h>

// Whether a screen point lies within the 8-pixel resize band along the edges of a
// window rectangle (the right and bottom edges are exclusive).
[[nodiscard]] bool InResizeBandOfRect(const RECT& window, POINT point);

// Whether a screen point lies in the resize band of the window's top-level window;
// never while that window is maximised.
[[nodiscard]] bool InResizeBand(HWND window, POINT point);

// Gives every current descendant of parent a subclass that answers hit tests as
// client area and shows the arrow in the top-level window's resize band, so that
// child windows never show their own resize cursors at the frame's edges.
void BorderCursorSubclass(HWND parent);
