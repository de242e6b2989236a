#pragma once

#include <windows.h>

// Asks for one WM_MOUSELEAVE when the mouse next leaves the window.
inline void RequestMouseLeave(HWND window) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    TrackMouseEvent(&track);
}
