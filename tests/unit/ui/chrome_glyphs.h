#pragma once

#include <windows.h>

#include "ui/glyph_icon.h"

// Every glyph the chrome asks for, at the size, colour and weight it asks.
struct ChromeGlyph {
    wchar_t codePoint;
    int size;
    COLORREF colour;
    int weight;
    const char* name;
};

inline constexpr ChromeGlyph kChromeGlyphs[] = {
    {glyph::kBack, 28, RGB(0, 0, 0), 900, "back"},
    {glyph::kForward, 28, RGB(0, 0, 0), 900, "forward"},
    {glyph::kUp, 28, RGB(0, 0, 0), 900, "up"},
    {glyph::kRefresh, 28, RGB(0, 0, 0), 900, "refresh"},
    {glyph::kReopenClosed, 26, RGB(0, 0, 0), 900, "reopen closed"},
    {glyph::kViewOptions, 24, RGB(0, 0, 0), 900, "view options"},
    {glyph::kSearch, 28, RGB(96, 96, 96), 900, "search"},
    {glyph::kClear, 28, RGB(96, 96, 96), 900, "clear"},
    {glyph::kSettings, 32, RGB(0, 0, 0), 900, "settings"},
    {glyph::kStar, 32, RGB(255, 185, 0), 900, "favourites"},
    {glyph::kFolderOptions, 32, RGB(0, 0, 0), 900, "folder options"},
    {glyph::kPlus, 24, RGB(0, 0, 0), 900, "new tab"},
    {glyph::kMinimize, 32, RGB(0, 0, 0), 900, "minimise"},
    {glyph::kMaximize, 32, RGB(0, 0, 0), 900, "maximise"},
    {glyph::kRestore, 32, RGB(0, 0, 0), 900, "restore"},
    {glyph::kClose, 32, RGB(0, 0, 0), 900, "close"},
    {glyph::kStar, 16, RGB(255, 185, 0), 400, "favourites bar star"},
};
