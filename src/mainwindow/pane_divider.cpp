#include "mainwindow/pane_divider.h"

#include <windowsx.h>

#include "ui/paint_context.h"
#include "ui/palette.h"

namespace {

constexpr wchar_t kDividerClass[] = L"QuorlenPaneDivider";

}  // namespace

PaneDivider::~PaneDivider() { DestroyBoundWindow(hwnd); }

bool PaneDivider::Create(HWND parent) {
    if (!RegisterChromeClass(kDividerClass, RouteToObject<PaneDivider>, CS_DBLCLKS)) return false;
    CreateWindowExW(0, kDividerClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                    GetModuleHandleW(nullptr), this);
    return hwnd != nullptr;
}

void PaneDivider::Show(const RECT* bounds) {
    if (!hwnd) return;
    if (!bounds) {
        ShowWindow(hwnd, SW_HIDE);
        return;
    }
    SetWindowPos(hwnd, HWND_TOP, bounds->left, bounds->top, bounds->right - bounds->left,
                 bounds->bottom - bounds->top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT PaneDivider::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        return TRUE;
    case WM_LBUTTONDOWN:
        dragging = true;
        grabOffset = GET_X_LPARAM(lParam);
        SetCapture(hwnd);
        return 0;
    case WM_MOUSEMOVE:
        if (dragging && onDrag) {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            MapWindowPoints(hwnd, GetParent(hwnd), &point, 1);
            RECT bar{};
            GetClientRect(hwnd, &bar);
            onDrag(point.x - grabOffset + bar.right / 2);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        if (dragging) {
            dragging = false;
            if (onDragEnd) onDragEnd();
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        if (onEven) onEven();
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The face of the window with a hairline down its middle, so that the bar
// shows between two white views.
void PaneDivider::Paint() {
    PaintContext paint(hwnd);
    RECT bar{};
    GetClientRect(hwnd, &bar);
    FillInk(paint.Dc(), bar, ChromeInk::Face);
    const int middle = bar.right / 2;
    FillInk(paint.Dc(), RECT{middle, bar.top, middle + 1, bar.bottom}, ChromeInk::Outline);
}
