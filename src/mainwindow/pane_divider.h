#pragma once

#include <windows.h>

#include <functional>

#include "ui/window_class.h"

// The bar between the two panes of a split tab. Dragging it tells where it is
// pulled to; a double click asks for even halves. One bar serves the window's
// shown tab; it is hidden while that tab is not split.
class PaneDivider {
public:
    PaneDivider() = default;
    ~PaneDivider();
    PaneDivider(const PaneDivider&) = delete;
    PaneDivider& operator=(const PaneDivider&) = delete;

    [[nodiscard]] bool Create(HWND parent);
    [[nodiscard]] HWND Hwnd() const { return hwnd; }
    // Placed over bounds and shown, or hidden for null.
    void Show(const RECT* bounds);

    // The divider pulled so that its middle is at x in the parent's client coordinates.
    std::function<void(int x)> onDrag;
    // A drag has ended: the position it left is the one to keep.
    std::function<void()> onDragEnd;
    std::function<void()> onEven;

private:
    friend LRESULT CALLBACK RouteToObject<PaneDivider>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND hwnd = nullptr;
    bool dragging = false;
    // Where in the bar it was taken, so that it does not jump under the cursor.
    int grabOffset = 0;
};
