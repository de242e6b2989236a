#pragma once

#include <windows.h>

#include <vector>

// A picture as 32-bit pixels, rows from the top down without padding.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<RGBQUAD> pixels;

    [[nodiscard]] const RGBQUAD& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

[[nodiscard]] inline bool SamePixel(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbBlue == b.rgbBlue && a.rgbGreen == b.rgbGreen && a.rgbRed == b.rgbRed &&
           a.rgbReserved == b.rgbReserved;
}

// The pixels of a bitmap as GetDIBits gives them; empty when they cannot be read.
[[nodiscard]] PixelImage ReadBitmapPixels(HBITMAP bitmap);
