#include "ui/drag_ghost.h"

#include "ui/dpi.h"
#include "ui/fonts.h"
#include "ui/handles.h"
#include "ui/paint_context.h"

namespace {

constexpr BYTE kGhostOpacity = 180;
constexpr int kGhostOffsetDips = 10;
constexpr int kGhostPaddingDips = 20;

bool RegisterGhostClass(const wchar_t* className) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = RouteToObject<DragGhost>;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    // The default erase fills the image with the window colour before the name goes on.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

POINT GhostOrigin(POINT cursorScreen, int dpi) {
    const int offset = ScaleDip(kGhostOffsetDips, dpi);
    return POINT{cursorScreen.x + offset, cursorScreen.y + offset};
}

SIZE GhostSize(int nameWidth, int heightDips, int dpi) {
    return SIZE{nameWidth + ScaleDip(kGhostPaddingDips, dpi), ScaleDip(heightDips, dpi)};
}

DragGhost::~DragGhost() { Destroy(); }

void DragGhost::Show(const std::wstring& newName, POINT screenTopLeft, int dpi) {
    Destroy();
    if (!RegisterGhostClass(className)) return;
    name = newName;
    const SIZE size = GhostSize(UiTextWidth(name, dpi).value_or(0), heightDips, dpi);
    const HWND created = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                         className, name.c_str(), WS_POPUP, screenTopLeft.x, screenTopLeft.y,
                                         size.cx, size.cy, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!created) {
        name.clear();
        return;
    }
    SetLayeredWindowAttributes(created, 0, kGhostOpacity, LWA_ALPHA);
    ShowWindow(created, SW_SHOWNOACTIVATE);
}

void DragGhost::MoveTo(POINT screenTopLeft) {
    if (hwnd) {
        SetWindowPos(hwnd, nullptr, screenTopLeft.x, screenTopLeft.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void DragGhost::Destroy() {
    if (hwnd) DestroyWindow(hwnd);
    name.clear();
}

LRESULT DragGhost::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintWindow(hwnd, [this](HDC dc) { Paint(dc); });
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void DragGhost::Paint(HDC dc) {
    const SelectedObject font(dc, UiFont(static_cast<int>(GetDpiForWindow(hwnd))));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT client{};
    GetClientRect(hwnd, &client);
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &client,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}
