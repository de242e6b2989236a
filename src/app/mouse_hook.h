#pragma once

#include <windows.h>

// Turns the mouse wheel over the first main window's tab strip into tab steps,
// wherever the keyboard focus is.
void InstallTabWheelHook(HWND mainWindow, HWND tabStrip);
void RemoveTabWheelHook();

// The WM_APP_TAB_STEP wParam for a wheel event's mouseData: 1 (previous tab)
// when the wheel turned away from the user, else 0 (next tab).
[[nodiscard]] WPARAM TabStepFromWheel(DWORD mouseData);
