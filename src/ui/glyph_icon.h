#pragma once

#include <windows.h>

#include <string>

// Code points of the icon-font glyphs the chrome draws.
namespace glyph {
constexpr wchar_t kBack = 0xE72B;
constexpr wchar_t kForward = 0xE72A;
constexpr wchar_t kUp = 0xE74A;
constexpr wchar_t kRefresh = 0xE72C;
constexpr wchar_t kReopenClosed = 0xE7A7;
constexpr wchar_t kViewOptions = 0xE700;
constexpr wchar_t kSearch = 0xE721;
constexpr wchar_t kClear = 0xE711;
constexpr wchar_t kSettings = 0xE713;
constexpr wchar_t kStar = 0xE735;
constexpr wchar_t kFolderOptions = 0xE8D5;
constexpr wchar_t kPlus = 0xE710;
constexpr wchar_t kMinimize = 0xE921;
constexpr wchar_t kMaximize = 0xE922;
constexpr wchar_t kRestore = 0xE923;
constexpr wchar_t kClose = 0xE8BB;
}  // namespace glyph

// The face the chrome asks for; GlyphIcon falls back when it is missing.
inline constexpr wchar_t kIconFontFace[] = L"Segoe MDL2 Assets";

// An icon of one glyph in a colour, size px square or larger when the glyph is
// wider, with premultiplied alpha taken from the anti-aliased ink. An empty face,
// or one that is not installed, means the system's icon font; without any icon
// font the glyph is drawn by DrawnGlyphIcon. The caller owns the icon; null on failure.
[[nodiscard]] HICON GlyphIcon(wchar_t codePoint, int size, COLORREF colour, const std::wstring& face, int weight);

// The same icon drawn from the program's own line drawings instead of a font,
// size px square rounded down to even. Null for a code point it has no drawing of.
[[nodiscard]] HICON DrawnGlyphIcon(wchar_t codePoint, int size, COLORREF colour, int weight);
