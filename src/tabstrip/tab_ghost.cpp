#include "tabstrip/tab_ghost.h"

#include "tabstrip/tab_strip_input_rules.h"
#include "ui/fonts.h"
#include "ui/handles.h"
#include "ui/paint_context.h"

namespace {

constexpr BYTE kGhostOpacity = 180;

bool RegisterGhostClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        // The default erase fills the image with the window colour before the title goes on.
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        windowClass.lpszClassName = kTabGhostClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    return registered;
}

}  // namespace

TabGhost::~TabGhost() { Destroy(); }

void TabGhost::Show(const std::wstring& newTitle, POINT screenTopLeft, int dpi) {
    Destroy();
    if (!RegisterGhostClass(RouteToObject<TabGhost>)) return;
    title = newTitle;
    const SIZE size = GhostSize(UiTextWidth(title, dpi).value_or(0), dpi);
    const HWND created = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                         kTabGhostClass, title.c_str(), WS_POPUP, screenTopLeft.x, screenTopLeft.y,
                                         size.cx, size.cy, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!created) {
        title.clear();
        return;
    }
    SetLayeredWindowAttributes(created, 0, kGhostOpacity, LWA_ALPHA);
    ShowWindow(created, SW_SHOWNOACTIVATE);
}

void TabGhost::MoveTo(POINT screenTopLeft) {
    if (hwnd) {
        SetWindowPos(hwnd, nullptr, screenTopLeft.x, screenTopLeft.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TabGhost::Destroy() {
    if (hwnd) DestroyWindow(hwnd);
    title.clear();
}

LRESULT TabGhost::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintWindow(hwnd, [this](HDC dc) { Paint(dc); });
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void TabGhost::Paint(HDC dc) {
    const SelectedObject font(dc, UiFont(static_cast<int>(GetDpiForWindow(hwnd))));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT client{};
    GetClientRect(hwnd, &client);
    DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &client,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}
