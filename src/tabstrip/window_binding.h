#pragma once

#include <windows.h>

// The window procedure of a class whose every window belongs to one object of
// type Object, passed as the creation parameter. The object is bound at
// WM_NCCREATE and unbound at WM_NCDESTROY, the window's last message, so that
// no message reaches it afterwards; every message in between goes to its
// WndProc. Object grants this function access to its hwnd and WndProc.
template <typename Object>
LRESULT CALLBACK RouteToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<Object*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd = window;
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // The object may be gone when this returns: handling a message may end it.
    return self->WndProc(message, wParam, lParam);
}
