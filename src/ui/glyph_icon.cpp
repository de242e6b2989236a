#include "ui/glyph_icon.h"

#include <algorithm>
#include <vector>

#include "ui/bitmap_info.h"
#include "ui/fonts.h"
#include "ui/glyph_shapes.h"
#include "ui/handles.h"

namespace {

// Drawings are made this many times larger and shrunk, so that their edges are
// as smooth as the font's anti-aliased ones.
constexpr int kSupersample = 8;

UniqueFont CreateGlyphFont(int size, int weight, const std::wstring& face) {
    return UniqueFont(CreateFontW(-MulDiv(size, 5, 4), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

// A face that is not installed is not asked for: the font mapper would hand
// back some text font, whose glyph at a private-use code point is an empty box.
UniqueFont IconFont(int size, int weight, const std::wstring& face) {
    if (!face.empty() && FontInstalled(face)) {
        if (UniqueFont font = CreateGlyphFont(size, weight, face)) return font;
    }
    for (const wchar_t* installed : {L"Segoe Fluent Icons", L"Segoe MDL2 Assets"}) {
        if (FontInstalled(installed)) return CreateGlyphFont(size, weight, installed);
    }
    return {};
}

int EvenAtLeast(int size, int measured) { return std::max(size, measured + 3) & ~1; }

UniqueMemoryDc ScreenCompatibleDc() {
    HDC screen = GetDC(nullptr);
    if (!screen) return {};
    UniqueMemoryDc memory(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    return memory;
}

// Black ink on white in a top-down 32-bit DIB section: the one form in which both
// sources hand their glyph over to be coloured.
struct InkBitmap {
    UniqueBitmap bitmap;
    RGBQUAD* pixels = nullptr;
    int width = 0;
    int height = 0;
};

InkBitmap CreateInkBitmap(HDC memory, int width, int height) {
    const BITMAPINFO info = TopDown32BitInfo(width, height);
    void* bits = nullptr;
    InkBitmap ink;
    ink.bitmap.reset(CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!ink.bitmap || !bits) return {};
    ink.pixels = static_cast<RGBQUAD*>(bits);
    ink.width = width;
    ink.height = height;
    std::fill_n(ink.pixels, static_cast<size_t>(width) * height, RGBQUAD{255, 255, 255, 0});
    return ink;
}

// Each pixel of the small bitmap takes the mean of its block of the large one.
void ShrinkInk(const InkBitmap& large, const InkBitmap& small, int factor) {
    const int samples = factor * factor;
    for (int y = 0; y < small.height; ++y) {
        for (int x = 0; x < small.width; ++x) {
            int blue = 0, green = 0, red = 0;
            for (int dy = 0; dy < factor; ++dy) {
                const RGBQUAD* row = large.pixels + static_cast<size_t>(y * factor + dy) * large.width +
                                     static_cast<size_t>(x) * factor;
                for (int dx = 0; dx < factor; ++dx) {
                    blue += row[dx].rgbBlue;
                    green += row[dx].rgbGreen;
                    red += row[dx].rgbRed;
                }
            }
            RGBQUAD& pixel = small.pixels[static_cast<size_t>(y) * small.width + x];
            pixel.rgbBlue = static_cast<BYTE>((blue + samples / 2) / samples);
            pixel.rgbGreen = static_cast<BYTE>((green + samples / 2) / samples);
            pixel.rgbRed = static_cast<BYTE>((red + samples / 2) / samples);
        }
    }
}

// Black ink on white becomes the colour with the ink's coverage as alpha, and the
// icon gets an all-zero mask so that only the alpha decides what shows.
HICON IconFromInk(const InkBitmap& ink, COLORREF colour) {
    for (size_t i = 0; i < static_cast<size_t>(ink.width) * ink.height; ++i) {
        RGBQUAD& pixel = ink.pixels[i];
        const int shade = (pixel.rgbBlue + pixel.rgbGreen + pixel.rgbRed) / 3;
        const int alpha = 255 - shade;
        pixel.rgbBlue = static_cast<BYTE>(GetBValue(colour) * alpha / 255);
        pixel.rgbGreen = static_cast<BYTE>(GetGValue(colour) * alpha / 255);
        pixel.rgbRed = static_cast<BYTE>(GetRValue(colour) * alpha / 255);
        pixel.rgbReserved = static_cast<BYTE>(alpha);
    }

    std::vector<BYTE> maskBits(static_cast<size_t>(((ink.width + 31) / 32) * 4 * ink.height), 0);
    UniqueBitmap mask(CreateBitmap(ink.width, ink.height, 1, 1, maskBits.data()));
    if (!mask) return nullptr;
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmMask = mask.get();
    icon.hbmColor = ink.bitmap.get();
    return CreateIconIndirect(&icon);
}

}  // namespace

HICON GlyphIcon(wchar_t codePoint, int size, COLORREF colour, const std::wstring& face, int weight) {
    if (size <= 0) return nullptr;
    UniqueFont font = IconFont(size, weight, face);
    if (!font) return DrawnGlyphIcon(codePoint, size, colour, weight);
    UniqueMemoryDc memory = ScreenCompatibleDc();
    if (!memory) return nullptr;
    SelectedObject selectedFont(memory.get(), font.get());

    SIZE measured{};
    GetTextExtentPoint32W(memory.get(), &codePoint, 1, &measured);
    const InkBitmap ink = CreateInkBitmap(memory.get(), EvenAtLeast(size, measured.cx), EvenAtLeast(size, measured.cy));
    if (!ink.bitmap) return nullptr;
    {
        SelectedObject selectedBitmap(memory.get(), ink.bitmap.get());
        SetBkMode(memory.get(), TRANSPARENT);
        SetTextColor(memory.get(), RGB(0, 0, 0));
        TextOutW(memory.get(), (ink.width - measured.cx) / 2, (ink.height - measured.cy) / 2, &codePoint, 1);
        GdiFlush();
    }
    return IconFromInk(ink, colour);
}

HICON DrawnGlyphIcon(wchar_t codePoint, int size, COLORREF colour, int weight) {
    if (size <= 0) return nullptr;
    UniqueMemoryDc memory = ScreenCompatibleDc();
    if (!memory) return nullptr;
    // The same rule as the font's bitmap, for a glyph that fits the size.
    const int side = EvenAtLeast(size, 0);
    const InkBitmap large = CreateInkBitmap(memory.get(), side * kSupersample, side * kSupersample);
    if (!large.bitmap) return nullptr;
    {
        SelectedObject selectedBitmap(memory.get(), large.bitmap.get());
        if (!DrawGlyphShape(memory.get(), codePoint, side, weight, kSupersample)) return nullptr;
        GdiFlush();
    }
    const InkBitmap ink = CreateInkBitmap(memory.get(), side, side);
    if (!ink.bitmap) return nullptr;
    ShrinkInk(large, ink, kSupersample);
    return IconFromInk(ink, colour);
}
