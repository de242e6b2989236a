#pragma once

#include <windows.h>

#include <string>

// Registers a window class of this program: the arrow cursor and a background of
// a system colour, the button face unless said otherwise. True when the class is
// registered, also by an earlier call.
[[nodiscard]] bool RegisterChromeClass(const wchar_t* className, WNDPROC procedure, UINT style,
                                       int backgroundColour = COLOR_BTNFACE);

// A child control's id as CreateWindowExW takes it.
[[nodiscard]] inline HMENU ControlId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

// The whole text of a window; empty for a null window.
[[nodiscard]] std::wstring ReadWindowText(HWND window);

// Destroys a window bound to an object. Should that fail, the window is unbound
// by hand, so that no later message can reach the object.
void DestroyBoundWindow(HWND window);

// The object a window is bound to. At WM_NCCREATE the object passed as creation
// parameter is stored in the window's user data; later messages find it there.
// Null before the binding and after the user data is cleared.
template <typename Object>
[[nodiscard]] Object* BoundObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* object = static_cast<Object*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        return object;
    }
    return reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The window procedure of a class whose every window belongs to one object of
// type Object, passed as the creation parameter. The object learns its window at
// WM_NCCREATE and forgets it at WM_NCDESTROY, the window's last message, so that
// no message reaches it afterwards; every message in between goes to its
// WndProc. An object that holds more of the window than its hwnd, such as its
// child controls, names a member as windowGone to let go of that at
// WM_NCDESTROY, when the children are gone too. Object grants this function
// access to its hwnd, its WndProc and that member.
template <typename Object, void (Object::*windowGone)() = nullptr>
LRESULT CALLBACK RouteToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Object* self = BoundObject<Object>(window, message, lParam);
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCCREATE) self->hwnd = window;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd = nullptr;
        if constexpr (windowGone != nullptr) (self->*windowGone)();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // The object may be gone when this returns: handling a message may end it.
    return self->WndProc(message, wParam, lParam);
}
