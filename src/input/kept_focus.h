#pragma once

#include <windows.h>

// The keyboard focus inside a top-level window is the window's own business
// while it is inactive; coming back, it returns to where it was.
class KeptFocus {
public:
    // The window is being deactivated.
    void Remember(HWND window);
    // The window is active again: the focus goes back, or to fallback when the
    // window that had it is gone.
    void Restore(HWND window, HWND fallback) const;

private:
    HWND focus = nullptr;
};
