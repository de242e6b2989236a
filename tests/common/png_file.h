#pragma once

#include <windows.h>

#include <string>

// Writes pixels as a PNG file: top-down rows of 32-bit blue, green, red and
// straight (not premultiplied) alpha, with no padding between rows.
[[nodiscard]] bool SavePng(const RGBQUAD* pixels, int width, int height, const std::wstring& path);

// Writes what a bitmap shows as an opaque PNG file. Its alpha is ignored, as
// screen captures and GDI drawings leave it undefined.
[[nodiscard]] bool SaveBitmapAsPng(HBITMAP bitmap, const std::wstring& path);
