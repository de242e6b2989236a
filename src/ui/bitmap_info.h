#pragma once

#include <windows.h>

// The description of a 32-bit bitmap whose rows run from the top down, as
// CreateDIBSection and GetDIBits take it.
[[nodiscard]] inline BITMAPINFO TopDown32BitInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
