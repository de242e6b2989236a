#include "favbar/fav_bar.h"

#include <shellapi.h>
#include <windowsx.h>

#include <utility>

#include "favbar/fav_bar_layout.h"
#include "ui/bar_geometry.h"
#include "ui/dark_menu.h"
#include "ui/dpi.h"
#include "ui/mouse_tracking.h"
#include "ui/resize_band.h"

namespace {

constexpr int kDragThresholdDips = 4;
constexpr UINT kRemoveCommand = 1;

// Every path of a drop, in drop order, each read whole however long it is.
std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        if (!path.empty()) paths.push_back(std::move(path));
    }
    return paths;
}

}  // namespace

std::optional<LRESULT> FavBar::HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // Each handler may end in an event whose handling destroys this bar, so
    // nothing of it is touched once a handler returns.
    switch (message) {
    case WM_SETCURSOR:
        if (ShowArrowInResizeBand(hwnd)) return TRUE;
        return std::nullopt;
    case WM_MOUSEMOVE:
        OnMouseMove(point);
        return 0;
    case WM_MOUSELEAVE:
        SetHot(-1);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(point);
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(point);
        return 0;
    case WM_MBUTTONDOWN:
        OnMiddleButtonDown(point);
        return 0;
    case WM_RBUTTONUP:
        // Also keeps the default handling from offering the parent a context menu.
        OnRightButtonUp(point);
        return 0;
    case WM_CAPTURECHANGED:
        if (pressedItem >= 0) EndPress();
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        return std::nullopt;
    }
}

POINT FavBar::ToScreen(POINT client) const {
    ClientToScreen(hwnd, &client);
    return client;
}

void FavBar::OnMouseMove(POINT client) {
    RequestMouseLeave(hwnd);
    const POINT screen = ToScreen(client);
    if (pressedItem >= 0) {
        if (!dragging && MovedBeyond(pressPoint, client, ScaleDip(kDragThresholdDips, dpi))) {
            dragging = true;
            ghost.Show(items[static_cast<size_t>(pressedItem)].name, GhostOrigin(ToScreen(pressPoint), dpi), dpi);
        }
        if (dragging) {
            DragItem(client, screen);
            return;
        }
    }
    // At the window's edges the frame's resize cursor takes over, so nothing here is hot.
    SetHot(InResizeBand(hwnd, screen) ? -1 : FavItemAt(ItemRects(), client));
}

// Repaints only what changes: the item that was hot and the one that is now.
void FavBar::SetHot(int item) {
    if (item == hotItem) return;
    InvalidateItem(hotItem);
    hotItem = item;
    InvalidateItem(hotItem);
}

void FavBar::InvalidateItem(int item) {
    if (ValidIndex(item)) InvalidateRect(hwnd, &items[static_cast<size_t>(item)].rect, FALSE);
}

void FavBar::OnLeftButtonDown(POINT client) {
    if (InResizeBand(hwnd, ToScreen(client))) return;
    const int item = FavItemAt(ItemRects(), client);
    if (item < 0) return;
    SetCapture(hwnd);
    pressedItem = item;
    pressPoint = client;
    dragging = false;
}

void FavBar::OnMiddleButtonDown(POINT client) {
    if (pressedItem >= 0 || InResizeBand(hwnd, ToScreen(client))) return;
    const int item = FavItemAt(ItemRects(), client);
    if (item >= 0) RaiseEvent(kFavEventOpenBehind, item, items[static_cast<size_t>(item)].path);
}

void FavBar::DragItem(POINT client, POINT screen) {
    ghost.MoveTo(GhostOrigin(screen, dpi));
    RECT clientRect{};
    GetClientRect(hwnd, &clientRect);
    const int index = DragInsertIndex(ItemRects(), clientRect, client);
    if (index == insertIndex) return;
    insertIndex = index;
    Repaint();
}

void FavBar::EndPress() {
    pressedItem = -1;
    dragging = false;
    insertIndex = -1;
    ghost.Destroy();
    Repaint();
}

void FavBar::OnLeftButtonUp(POINT client) {
    if (pressedItem < 0) return;
    const int item = pressedItem;
    const bool dragged = dragging;
    const std::wstring path = items[static_cast<size_t>(item)].path;
    EndPress();
    ReleaseCapture();
    if (!dragged) {
        RaiseEvent(kFavEventOpen, item, path);
        return;
    }
    const POINT dropPoint = ToScreen(client);
    // Dropped anywhere but on the bar itself, a favourite stays where it was.
    if (WindowFromPoint(dropPoint) == hwnd) ownerCalls.Call(onFavouriteMoved, item, InsertionIndexAt(dropPoint));
}

void FavBar::OnRightButtonUp(POINT client) {
    const int item = FavItemAt(ItemRects(), client);
    if (item < 0) return;
    const UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.get(), MF_STRING, kRemoveCommand, L"移除收藏");
    // The menu runs its own message loop; the path is taken now, as the user saw it.
    const std::wstring path = items[static_cast<size_t>(item)].path;
    const POINT screen = ToScreen(client);
    DrawMenuInPalette(menu.get());
    const UINT choice = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd, nullptr));
    if (choice == kRemoveCommand) RaiseEvent(kFavEventRemove, item, path);
}

void FavBar::OnDropFiles(HDROP drop) {
    if (!drop) return;
    const std::vector<std::wstring> paths = DroppedPaths(drop);
    DragFinish(drop);
    for (const std::wstring& path : paths) {
        if (!RaiseEvent(kFavEventAdd, -1, path)) return;
    }
}
