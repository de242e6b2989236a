#pragma once

#include <windows.h>

#include <optional>

// Our popup menus in the dark palette where the system would draw them light,
// without the uxtheme calls that make it draw them dark: there the owner
// window draws each item. The items keep their text, which screen readers read.

// Prepares a menu just before it is tracked; does nothing in any other palette
// or where the system draws menus dark itself. One menu is prepared at a time.
void DrawMenuInPalette(HMENU menu);
// Answers WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR (an item's access key)
// for the menu prepared last; nothing for any other message, item or key.
// dpi: the owner window's.
[[nodiscard]] std::optional<LRESULT> AnswerMenuItemDrawing(UINT message, WPARAM wParam, LPARAM lParam, int dpi);
