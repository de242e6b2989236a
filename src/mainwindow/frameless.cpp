#include "mainwindow/frameless.h"

#include <windowsx.h>

namespace {

// The first rectangle arrives as the proposed window rectangle and leaves as
// the client rectangle: the whole window, so there is no frame to draw. The
// window is made with its client so computed too (that message comes without
// the flag): else the frame change after it would resize everything in it,
// and the shell control would lay out all its panes a second time.
LRESULT CalcFramelessClient(WPARAM wParam, LPARAM lParam) {
    RECT& rect = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
    const RECT proposed = rect;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    const bool known = GetMonitorInfoW(MonitorFromRect(&proposed, MONITOR_DEFAULTTONEAREST), &monitor);
    rect = ClientRectForWindow(proposed, known ? &monitor.rcWork : nullptr);
    return 0;
}

LRESULT HitTestFrameless(HWND window, LPARAM lParam, int dpi) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return FrameHitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, bounds, dpi, IsZoomed(window) != FALSE);
}

}  // namespace

std::optional<LRESULT> AnswerFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int dpi) {
    switch (message) {
    case WM_GETMINMAXINFO: {
        const SIZE minimum = MinimumTrackSize(dpi);
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{minimum.cx, minimum.cy};
        return 0;
    }
    case WM_NCCALCSIZE: return CalcFramelessClient(wParam, lParam);
    case WM_NCHITTEST: return HitTestFrameless(window, lParam, dpi);
    case WM_NCPAINT: return 0;
    case WM_NCACTIVATE: return TRUE;
    default: return std::nullopt;
    }
}

WindowBounds ChooseWindowBounds(const SavedWindowRect& saved, int width, int height, int x, int y) {
    WindowBounds bounds{CW_USEDEFAULT, CW_USEDEFAULT, kDefaultWindowWidth, kDefaultWindowHeight};
    if (width > 0 && height > 0) {
        bounds.width = width;
        bounds.height = height;
    } else if (SavedRectLargeEnough(saved) && MonitorFromPoint(SavedRectCentre(saved), MONITOR_DEFAULTTONULL)) {
        bounds = WindowBounds{saved.x, saved.y, saved.width, saved.height};
    }
    if (x != CW_USEDEFAULT && y != CW_USEDEFAULT) {
        POINT position{x, y};
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (GetMonitorInfoW(MonitorFromPoint(position, MONITOR_DEFAULTTONEAREST), &monitor)) {
            position = KeepOnWorkArea(position, SIZE{bounds.width, bounds.height}, monitor.rcWork);
        }
        bounds.x = position.x;
        bounds.y = position.y;
    }
    return bounds;
}

// The maximised state itself is not kept.
bool NormalScreenRect(HWND window, RECT& rect) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement)) return false;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        monitor.rcMonitor = monitor.rcWork = RECT{};
    }
    rect = WorkspaceToScreen(placement.rcNormalPosition, monitor.rcMonitor, monitor.rcWork);
    return true;
}

bool MoveStripDrag::OnMessage(HWND window, UINT message, LPARAM lParam, int dpi) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_LBUTTONDOWN: return Begin(window, point, dpi);
    case WM_MOUSEMOVE: return Move(window, point, dpi);
    case WM_LBUTTONUP: return End();
    case WM_CAPTURECHANGED:
        // The capture went elsewhere: the drag is over, and the window still
        // hears of the change.
        dragging = false;
        return false;
    default: return false;
    }
}

bool MoveStripDrag::Begin(HWND window, POINT clientPoint, int dpi) {
    if (IsZoomed(window)) return false;
    RECT client{};
    GetClientRect(window, &client);
    if (!InMoveStrip(clientPoint, SIZE{client.right, client.bottom}, dpi)) return false;
    dragging = true;
    moved = false;
    start = clientPoint;
    SetCapture(window);
    return true;
}

bool MoveStripDrag::Move(HWND window, POINT clientPoint, int dpi) {
    if (!dragging) return false;
    if (!moved && PassedMoveThreshold(start, clientPoint, dpi)) moved = true;
    if (!moved) return true;
    POINT screen = clientPoint;
    ClientToScreen(window, &screen);
    SetWindowPos(window, nullptr, screen.x - start.x, screen.y - start.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool MoveStripDrag::End() {
    if (!dragging) return false;
    dragging = false;
    ReleaseCapture();
    return true;
}
