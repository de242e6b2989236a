#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// Drawing shared by the strip, its drag image and its favourites drop-down.

// Answers WM_PAINT: runs paint on the window's paint context.
void PaintWindow(HWND window, const std::function<void(HDC dc)>& paint);

// Paints into an off-screen bitmap the size of the area, which starts at (0,0),
// and copies it to the target in one go, so that nothing flickers.
void PaintBuffered(HDC target, const RECT& area, const std::function<void(HDC dc)>& paint);

// The width of a single line of text in the UI font of a DPI; nullopt when it
// cannot be measured.
[[nodiscard]] std::optional<int> UiTextWidth(const std::wstring& text, int dpi);
