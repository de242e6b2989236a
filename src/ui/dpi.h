#pragma once

#include <windows.h>

// Converts device-independent pixels to pixels at the given DPI.
[[nodiscard]] inline int ScaleDip(int dips, int dpi) { return MulDiv(dips, dpi, 96); }
