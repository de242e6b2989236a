#include "dialogs/donate_window.h"

#include <optional>
#include <utility>

#include "dialogs/donate_layout.h"
#include "dialogs/donate_picture.h"
#include "dialogs/modal_window.h"
#include "ui/dark_mode.h"
#include "ui/handles.h"
#include "ui/paint_context.h"
#include "ui/palette.h"
#include "ui/window_class.h"

namespace {

class DonateWindow {
public:
    explicit DonateWindow(DonatePicture picture) : picture(std::move(picture)) {}
    DonateWindow(const DonateWindow&) = delete;
    DonateWindow& operator=(const DonateWindow&) = delete;

    void Run(HWND owner) {
        const int dpi = static_cast<int>(GetDpiForSystem());
        const HWND created =
            CreateModalWindow(kDonateWindowClass, L"捐赠 - Quorlen",
                              DonateClientSize(picture.width, picture.height, dpi), dpi, owner, this);
        if (created) RunModalWindow(created, owner);
    }

private:
    friend LRESULT CALLBACK RouteToObject<DonateWindow>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_CREATE:
            if (DarkChrome()) ThemeFrame(hwnd, true);
            return 0;
        case WM_PAINT: PaintWindow(hwnd, [this](HDC dc) { Paint(dc); }); return 0;
        case WM_ERASEBKGND: return 1;  // the paint covers the window
        case WM_SETTINGCHANGE:
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            RefreshPalette();
            ThemeFrame(hwnd, DarkChrome());
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case WM_KEYDOWN:
            if (wParam != VK_ESCAPE) break;
            DestroyBoundWindow(hwnd);
            return 0;
        case WM_COMMAND:
            // The modal loop's dialog handling turns Esc into this command
            // before any key-down reaches the window.
            if (LOWORD(wParam) != IDCANCEL) break;
            DestroyBoundWindow(hwnd);
            return 0;
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOACTIVATE | SWP_NOZORDER);
            return 0;
        }
        default: break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    void Paint(HDC target) {
        RECT client{};
        GetClientRect(hwnd, &client);
        PaintBuffered(target, client, [&](HDC dc) {
            // The picture keeps its own colours; only what surrounds it turns dark.
            FillRect(dc, &client,
                     DarkChrome() ? InkBrush(ChromeInk::Face) : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            const std::optional<RECT> place = DonatePictureRect(client, picture.width, picture.height,
                                                                static_cast<int>(GetDpiForWindow(hwnd)));
            if (!place) return;
            UniqueMemoryDc source(CreateCompatibleDC(dc));
            if (!source) return;
            const SelectedObject selected(source.get(), picture.bitmap.get());
            SetStretchBltMode(dc, HALFTONE);
            // HALFTONE wants the brush origin set again.
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchBlt(dc, place->left, place->top, place->right - place->left, place->bottom - place->top,
                       source.get(), 0, 0, picture.width, picture.height, SRCCOPY);
        });
    }

    HWND hwnd = nullptr;
    DonatePicture picture;
};

}  // namespace

void ShowDonateWindow(HWND owner) {
    static const bool registered =
        RegisterChromeClass(kDonateWindowClass, RouteToObject<DonateWindow>, 0, COLOR_WINDOW);
    if (!registered) return;
    const GdiplusSession gdiplus;
    if (!gdiplus.Started()) return;
    DonatePicture picture = LoadDonatePicture();
    if (!picture.bitmap) {
        MessageBoxW(owner, L"未找到捐赠二维码图片资源（zfb.png）。", L"捐赠", MB_ICONINFORMATION);
        return;
    }
    DonateWindow window(std::move(picture));
    window.Run(owner);
}
