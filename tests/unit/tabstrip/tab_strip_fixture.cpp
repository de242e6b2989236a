#include "tab_strip_fixture.h"

#include <algorithm>

#include "ui/bitmap_info.h"
#include "ui/handles.h"

void TabStripTest::SetUp() {
    parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 100, 100, 1200, 300, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    strip = std::make_unique<TabStrip>();
    ASSERT_TRUE(strip->Create(parent, 7));
    Resize(96, 800, 27);
}

void TabStripTest::TearDown() {
    strip.reset();
    if (parent) DestroyWindow(parent);
}

void TabStripTest::Resize(UINT dpi, int width, int height) {
    strip->SetDpi(dpi);
    SetWindowPos(strip->Hwnd(), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool WaitForSpinnerTicks(HWND strip, int ticks) {
    const ULONGLONG deadline = GetTickCount64() + 3000;
    int seen = 0;
    for (;;) {
        MSG message{};
        while (seen < ticks && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.hwnd == strip && message.message == WM_TIMER && message.wParam == 2) ++seen;
            DispatchMessageW(&message);
        }
        if (seen >= ticks) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

StripPicture::StripPicture(HWND strip) {
    RECT client{};
    GetClientRect(strip, &client);
    width = client.right;
    height = client.bottom;
    BITMAPINFO info = TopDown32BitInfo(width, height);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap || !bits) return;
    {
        const SelectedObject selected(dc.get(), bitmap.get());
        SendMessageW(strip, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        GdiFlush();
    }
    const auto* bgrx = static_cast<const BYTE*>(bits);
    pixels.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = RGB(bgrx[i * 4 + 2], bgrx[i * 4 + 1], bgrx[i * 4]);
    }
}

COLORREF StripPicture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    return pixels[static_cast<size_t>(y) * width + x];
}

template <typename PixelTest>
bool StripPicture::AnyPixel(const RECT& area, PixelTest test) const {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (test(x, y)) return true;
        }
    }
    return false;
}

bool StripPicture::Contains(const RECT& area, COLORREF colour) const {
    return AnyPixel(area, [&](int x, int y) { return At(x, y) == colour; });
}

bool StripPicture::AllAre(const RECT& area, COLORREF colour) const {
    return !AnyPixel(area, [&](int x, int y) { return At(x, y) != colour; });
}

bool StripPicture::IsInk(int x, int y) const {
    const COLORREF colour = At(x, y);
    if (colour == CLR_INVALID) return false;
    return std::max({GetRValue(colour), GetGValue(colour), GetBValue(colour)}) < 128;
}

bool StripPicture::HasInk(const RECT& area) const {
    return AnyPixel(area, [this](int x, int y) { return IsInk(x, y); });
}
