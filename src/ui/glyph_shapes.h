#pragma once

#include <windows.h>

// Line drawings of the icon-font glyphs the chrome uses, in the thin-stroke style
// of "Segoe MDL2 Assets", for systems that have no icon font.

// Draws the glyph in black into the square (0,0)-(side × scale) of the context,
// which stands for an icon of side px drawn scale times larger. Strokes grow with
// the side and the weight. False when there is no drawing for the code point.
[[nodiscard]] bool DrawGlyphShape(HDC dc, wchar_t codePoint, int side, int weight, int scale);
