#include "ui/resize_band.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

constexpr int kResizeBand = 8;

LRESULT CALLBACK BorderCursorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_NCHITTEST: {
        // Only in the band: elsewhere a child's own answers (its scroll bars, its
        // transparent parts) must stand.
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (InResizeBand(window, point)) return HTCLIENT;
        break;
    }
    case WM_SETCURSOR:
        if (ShowArrowInResizeBand(window)) return TRUE;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, BorderCursorProc, 0);
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

BOOL CALLBACK SubclassOne(HWND child, LPARAM) {
    SetWindowSubclass(child, BorderCursorProc, 0, 0);
    return TRUE;
}

}  // namespace

bool InResizeBandOfRect(const RECT& window, POINT point) {
    return point.x < window.left + kResizeBand || point.x > window.right - kResizeBand - 1 ||
           point.y < window.top + kResizeBand || point.y > window.bottom - kResizeBand - 1;
}

bool InResizeBand(HWND window, POINT point) {
    HWND root = GetAncestor(window, GA_ROOT);
    if (!root || IsZoomed(root)) return false;
    RECT bounds{};
    if (!GetWindowRect(root, &bounds)) return false;
    return InResizeBandOfRect(bounds, point);
}

bool ShowArrowInResizeBand(HWND window) {
    POINT cursor{};
    if (!GetCursorPos(&cursor) || !InResizeBand(window, cursor)) return false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return true;
}

void BorderCursorSubclass(HWND parent) {
    if (!parent) return;
    EnumChildWindows(parent, SubclassOne, 0);
}
