#pragma once

#include <windows.h>

// Precision touchpads and free-spinning wheels report a turn in parts of a
// notch (WHEEL_DELTA); a tab is stepped once per whole notch. A turn the other
// way starts a new count.
class WheelNotches {
public:
    // The whole notches the rotation completes: positive away from the user
    // (towards the previous tab), negative towards the user.
    [[nodiscard]] int Add(short delta);

private:
    int pending = 0;
};

// Steps the window's tabs by the notches: one WM_APP_TAB_STEP per notch.
void PostTabSteps(HWND window, int notches);
