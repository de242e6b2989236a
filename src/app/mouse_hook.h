#pragma once

#include <windows.h>

// Turns the mouse wheel over any main window's tab strip into tab steps of that
// window, wherever the keyboard focus is within this thread's windows. The hook
// is the UI thread's own, so it costs nothing while the mouse is elsewhere and
// never holds up the rest of the desktop's input.
void InstallTabWheelHook();
void RemoveTabWheelHook();
