#pragma once

#include <windows.h>

#include "ui/palette.h"

// The colours a tab can be marked with, numbered from 1; 0 is none. Each is a
// band along the tab's bottom edge, never behind its title, in a shade that
// stands out of every surface a tab is drawn on in the palette.
inline constexpr int kTabColourCount = 6;

// "红色" and so on; "无颜色" for 0 and any number that is no colour.
[[nodiscard]] const wchar_t* TabColourName(int colour);

// The colour's shade in a palette. High contrast takes the light or the dark
// shade, whichever stands out of the theme's button face.
[[nodiscard]] COLORREF TabColourInk(int colour, Palette palette);

// As the accessibility guidelines measure them: luminance from 0 to 1, and a
// ratio from 1 to 21.
[[nodiscard]] double RelativeLuminance(COLORREF colour);
[[nodiscard]] double ContrastRatio(COLORREF first, COLORREF second);
