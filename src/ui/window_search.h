#pragma once

#include <windows.h>

// The first descendant of parent whose class name equals className, ignoring
// case; with sizedOnly, only windows more than one pixel wide and high count.
// Null when there is none or parent is no window.
[[nodiscard]] HWND FindDescendantOfClass(HWND parent, const wchar_t* className, bool sizedOnly = false);
