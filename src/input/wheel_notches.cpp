#include "input/wheel_notches.h"

#include "ui/app_identity.h"

int WheelNotches::Add(short delta) {
    if ((delta > 0 && pending < 0) || (delta < 0 && pending > 0)) pending = 0;
    pending += delta;
    const int notches = pending / WHEEL_DELTA;
    pending -= notches * WHEEL_DELTA;
    return notches;
}

void PostTabSteps(HWND window, int notches) {
    const WPARAM towardsPrevious = notches > 0 ? 1 : 0;
    for (int left = notches > 0 ? notches : -notches; left > 0; --left) {
        PostMessageW(window, WM_APP_TAB_STEP, towardsPrevious, 0);
    }
}
