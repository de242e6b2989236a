#pragma once

#include <windows.h>

// Registers a window class of this program: the arrow cursor and the button-face
// background. True when the class is registered, also by an earlier call.
[[nodiscard]] bool RegisterChromeClass(const wchar_t* className, WNDPROC procedure, UINT style);

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
