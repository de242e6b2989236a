#include "common/screenshot.h"

#include <string>

#include "common/bitmap_pixels.h"

UniqueBitmap CaptureScreenRect(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    if (!screen) return {};
    UniqueBitmap copy(CreateCompatibleBitmap(screen, width, height));
    UniqueMemoryDc memory(CreateCompatibleDC(screen));
    bool copied = false;
    if (copy && memory) {
        SelectedObject selected(memory.get(), copy.get());
        copied = BitBlt(memory.get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
    }
    ReleaseDC(nullptr, screen);
    if (!copied) return {};
    return copy;
}

int LightPixelPercent(const RECT& rect) {
    const UniqueBitmap shot = CaptureScreenRect(rect);
    const PixelImage image = shot ? ReadBitmapPixels(shot.get()) : PixelImage{};
    if (image.pixels.empty()) return -1;
    size_t light = 0;
    for (const RGBQUAD& pixel : image.pixels) {
        if (pixel.rgbRed * 299 + pixel.rgbGreen * 587 + pixel.rgbBlue * 114 >= 160 * 1000) ++light;
    }
    return static_cast<int>(light * 100 / image.pixels.size());
}

std::filesystem::path ScreenshotFolder() {
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0) return {};
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);
    }
    const std::filesystem::path folder = std::filesystem::path(program).parent_path().parent_path() / L"screenshots";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return {};
    return folder;
}
