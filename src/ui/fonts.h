#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The user-interface font at a DPI (0 or less: the system DPI), weight 400. Fonts
// are created once per DPI and kept for the life of the process; never delete them.
[[nodiscard]] HFONT UiFont(int dpi);

// The same face one unit larger, weight 700.
[[nodiscard]] HFONT UiFontBold(int dpi);

// The face and height the UI fonts are made from: the user's icon-title font,
// falling back to "Microsoft YaHei UI" and then "SimSun" where a face is missing.
// The caller passes an empty face and the height to use when the user has none.
void IconFontFace(std::wstring& face, int& height);

// Whether a font family of that name is installed.
[[nodiscard]] bool FontInstalled(const std::wstring& face);

// The character height of a UI font at a DPI, from the unscaled height of the
// icon-title font; the bold font is one unit larger.
[[nodiscard]] int ScaledFontHeight(int height, int dpi, bool bold);

// The width in px of one line of text in the UI font of a DPI; nothing when it
// cannot be measured.
[[nodiscard]] std::optional<int> UiTextWidth(const std::wstring& text, int dpi);
// The widths of many texts, measured in one context.
[[nodiscard]] std::vector<std::optional<int>> UiTextWidths(const std::vector<std::wstring>& texts, int dpi);
