#include "common/bitmap_pixels.h"

#include <cstdlib>

#include "ui/bitmap_info.h"

PixelImage ReadBitmapPixels(HBITMAP bitmap) {
    PixelImage image;
    BITMAP described{};
    if (!bitmap || GetObjectW(bitmap, sizeof(described), &described) == 0) return image;
    const int width = described.bmWidth;
    const int height = std::abs(described.bmHeight);
    BITMAPINFO info = TopDown32BitInfo(width, height);
    std::vector<RGBQUAD> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    if (!screen) return image;
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height) return image;
    image.width = width;
    image.height = height;
    image.pixels = std::move(pixels);
    return image;
}
