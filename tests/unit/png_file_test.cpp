#include "common/png_file.h"

#include <gtest/gtest.h>
#include <wincodec.h>

#include <string>
#include <vector>

#include "common/bitmap_pixels.h"
#include "common/screenshot.h"
#include "common/temp_folder.h"
#include "ui/handles.h"

namespace {

// Decodes a file with WIC as 32-bit BGRA; empty when it is not a PNG file.
PixelImage LoadPng(const std::wstring& path) {
    PixelImage picture;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))))
        return picture;
    ComPtr<IWICBitmapDecoder> decoder;
    GUID container{};
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetContainerFormat(&container)) || container != GUID_ContainerFormatPng)
        return picture;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0, WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)))
        return picture;
    std::vector<RGBQUAD> pixels(static_cast<size_t>(width) * height);
    const UINT stride = width * sizeof(RGBQUAD);
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(pixels.data()))))
        return picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels = std::move(pixels);
    return picture;
}

class PngFile : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.Path().empty());
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }

    [[nodiscard]] std::wstring FileIn(const wchar_t* name) const { return (folder.Path() / name).wstring(); }

    TempFolder folder;
};

TEST_F(PngFile, PixelsComeBackExactlyWithTheirAlpha) {
    // Three columns and two rows, so that a swapped width and height or a wrong stride shows.
    const std::vector<RGBQUAD> pixels = {
        {0, 0, 255, 255}, {0, 255, 0, 128}, {255, 0, 0, 0},
        {10, 20, 30, 40}, {255, 255, 255, 255}, {1, 2, 3, 250},
    };
    const std::wstring path = FileIn(L"pixels.png");
    ASSERT_TRUE(SavePng(pixels.data(), 3, 2, path));
    const PixelImage loaded = LoadPng(path);
    ASSERT_EQ(loaded.width, 3);
    ASSERT_EQ(loaded.height, 2);
    for (size_t i = 0; i < pixels.size(); ++i) {
        // A fully transparent pixel's colour need not survive.
        if (pixels[i].rgbReserved == 0) {
            EXPECT_EQ(loaded.pixels[i].rgbReserved, 0) << i;
        } else {
            EXPECT_TRUE(SamePixel(loaded.pixels[i], pixels[i])) << i;
        }
    }
}

TEST_F(PngFile, NothingIsWrittenForNoPixelsOrAnUnwritablePath) {
    const RGBQUAD pixel{1, 2, 3, 255};
    EXPECT_FALSE(SavePng(nullptr, 1, 1, FileIn(L"none.png")));
    EXPECT_FALSE(SavePng(&pixel, 0, 1, FileIn(L"empty.png")));
    EXPECT_FALSE(SavePng(&pixel, 1, 1, FileIn(L"no such folder\\pixel.png")));
    EXPECT_FALSE(SaveBitmapAsPng(nullptr, FileIn(L"null.png")));
}

TEST_F(PngFile, BitmapIsSavedOpaqueWhateverItsAlpha) {
    // A GDI drawing leaves alpha at zero; the picture must still show.
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, 4, 3));
    UniqueMemoryDc memory(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(bitmap && memory);
    {
        SelectedObject selected(memory.get(), bitmap.get());
        UniqueBrush red(CreateSolidBrush(RGB(200, 30, 60)));
        RECT all{0, 0, 4, 3};
        FillRect(memory.get(), &all, red.get());
        SetPixel(memory.get(), 3, 2, RGB(0, 0, 255));
    }
    const std::wstring path = FileIn(L"bitmap.png");
    ASSERT_TRUE(SaveBitmapAsPng(bitmap.get(), path));
    const PixelImage loaded = LoadPng(path);
    ASSERT_EQ(loaded.width, 4);
    ASSERT_EQ(loaded.height, 3);
    EXPECT_TRUE(SamePixel(loaded.pixels[0], RGBQUAD{60, 30, 200, 255}));
    EXPECT_TRUE(SamePixel(loaded.pixels[11], RGBQUAD{255, 0, 0, 255})) << "rows are stored top-down";
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ScreenCapture, CopiesWhatAWindowShows) {
    UniqueBrush paint(CreateSolidBrush(RGB(20, 160, 90)));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = paint.get();
    windowClass.lpszClassName = L"Quorlen.Test.CaptureTarget";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    const RECT place{100, 120, 180, 170};
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                                  place.left, place.top, place.right - place.left, place.bottom - place.top, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);

    PixelImage captured;
    const bool shown = WaitUntil(
        [&] {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            UniqueBitmap capture = CaptureScreenRect(place);
            captured = ReadBitmapPixels(capture.get());
            if (captured.width != 80 || captured.height != 50) return false;
            const RGBQUAD centre = captured.At(40, 25);
            return centre.rgbRed == 20 && centre.rgbGreen == 160 && centre.rgbBlue == 90;
        },
        5000);
    DestroyWindow(window);
    UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
    EXPECT_TRUE(shown) << "captured " << captured.width << " x " << captured.height;
    EXPECT_FALSE(CaptureScreenRect(RECT{10, 10, 10, 40})) << "an empty rectangle has no picture";
}

}  // namespace
