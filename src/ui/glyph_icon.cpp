#include "ui/glyph_icon.h"

#include <algorithm>
#include <vector>

#include "ui/fonts.h"
#include "ui/handles.h"

namespace {

UniqueFont CreateGlyphFont(int size, int weight, const std::wstring& face) {
    return UniqueFont(CreateFontW(-MulDiv(size, 5, 4), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

UniqueFont IconFont(int size, int weight, const std::wstring& face) {
    if (!face.empty()) {
        if (UniqueFont font = CreateGlyphFont(size, weight, face)) return font;
    }
    for (const wchar_t* installed : {L"Segoe Fluent Icons", L"Segoe MDL2 Assets"}) {
        if (FontInstalled(installed)) return CreateGlyphFont(size, weight, installed);
    }
    return {};
}

int EvenAtLeast(int size, int measured) { return std::max(size, measured + 3) & ~1; }

}  // namespace

HICON GlyphIcon(wchar_t codePoint, int size, COLORREF colour, const std::wstring& face, int weight) {
    if (size <= 0) return nullptr;
    HDC screen = GetDC(nullptr);
    if (!screen) return nullptr;
    UniqueMemoryDc memory(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    if (!memory) return nullptr;
    UniqueFont font = IconFont(size, weight, face);
    if (!font) return nullptr;
    SelectedObject selectedFont(memory.get(), font.get());

    SIZE measured{};
    GetTextExtentPoint32W(memory.get(), &codePoint, 1, &measured);
    const int width = EvenAtLeast(size, measured.cx);
    const int height = EvenAtLeast(size, measured.cy);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap colourBitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colourBitmap || !bits) return nullptr;
    {
        SelectedObject selectedBitmap(memory.get(), colourBitmap.get());
        RECT all{0, 0, width, height};
        FillRect(memory.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetBkMode(memory.get(), TRANSPARENT);
        SetTextColor(memory.get(), RGB(0, 0, 0));
        TextOutW(memory.get(), (width - measured.cx) / 2, (height - measured.cy) / 2, &codePoint, 1);
        GdiFlush();
    }

    // Black ink on white becomes the colour with the ink's coverage as alpha.
    auto* pixels = static_cast<BYTE*>(bits);
    for (int i = 0; i < width * height; ++i) {
        BYTE* pixel = pixels + i * 4;
        const int shade = (pixel[0] + pixel[1] + pixel[2]) / 3;
        const int alpha = 255 - shade;
        pixel[0] = static_cast<BYTE>(GetBValue(colour) * alpha / 255);
        pixel[1] = static_cast<BYTE>(GetGValue(colour) * alpha / 255);
        pixel[2] = static_cast<BYTE>(GetRValue(colour) * alpha / 255);
        pixel[3] = static_cast<BYTE>(alpha);
    }

    std::vector<BYTE> maskBits(static_cast<size_t>(((width + 31) / 32) * 4 * height), 0);
    UniqueBitmap mask(CreateBitmap(width, height, 1, 1, maskBits.data()));
    if (!mask) return nullptr;
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmMask = mask.get();
    icon.hbmColor = colourBitmap.get();
    return CreateIconIndirect(&icon);
}
