#pragma once

#include <windows.h>

#include "stats.h"

// Times switches of Windows' app mode in a running main window: from the
// window's being told until it and every part of it painted again. One sample
// per run; the mode alternates and is put back afterwards.
[[nodiscard]] Figure MeasureThemeSwitches(HWND window, int runs);
