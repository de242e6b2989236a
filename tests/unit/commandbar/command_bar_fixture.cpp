#include "command_bar_fixture.h"

#include "ui/bitmap_info.h"
#include "ui/handles.h"

void CommandBarTest::SetUp() {
    parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 100, 100, 1200, 300, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    bar = std::make_unique<CommandBar>();
    ASSERT_TRUE(bar->Create(parent, 1));
    bar->SetDpi(96);
    SetWindowPos(bar->Hwnd(), nullptr, 0, 0, 1000, 34, SWP_NOZORDER | SWP_NOACTIVATE);
    bar->onCommand = [this](int commandId) { commands.push_back(commandId); };
    while (TakeRelayoutRequest()) {
    }
}

void CommandBarTest::TearDown() {
    bar.reset();
    if (parent) DestroyWindow(parent);
}

HWND CommandBarTest::Control(int id) const { return GetDlgItem(bar->Hwnd(), id); }

void CommandBarTest::ClickBar(int x, int y) const {
    SendMessageW(bar->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(bar->Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

bool CommandBarTest::TakeRelayoutRequest() const {
    MSG message{};
    return PeekMessageW(&message, parent, WM_APP + 4, WM_APP + 4, PM_REMOVE) != 0;
}

bool IsShown(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

PixelImage PrintClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    BITMAPINFO info = TopDown32BitInfo(client.right, client.bottom);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap) return {};
    {
        const SelectedObject selected(dc.get(), bitmap.get());
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
        GdiFlush();
    }
    return ReadBitmapPixels(bitmap.get());
}

bool HasColour(const RGBQUAD& pixel, COLORREF colour) {
    return RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue) == colour;
}
