#include "input/kept_focus.h"

void KeptFocus::Remember(HWND window) {
    HWND current = GetFocus();
    if (current && IsChild(window, current)) focus = current;
}

void KeptFocus::Restore(HWND window, HWND fallback) const {
    if (focus && IsWindow(focus) && IsChild(window, focus)) {
        SetFocus(focus);
    } else if (fallback) {
        SetFocus(fallback);
    }
}
