#pragma once

#include <windows.h>

#include <filesystem>

#include "ui/handles.h"

// A copy of what the screen shows in a rectangle of screen coordinates; null on failure.
[[nodiscard]] UniqueBitmap CaptureScreenRect(const RECT& rect);

// The share of a screen rectangle's pixels, in percent, that are light: a light
// surface reads near 100, a dark one with light text on it well below half.
// -1 when the screen cannot be read.
[[nodiscard]] int LightPixelPercent(const RECT& rect);

// The folder "screenshots" in the build folder, beside the "bin" folder of the test
// programs, where tests leave pictures for a person to look at. It is created when
// missing; empty when it cannot be.
[[nodiscard]] std::filesystem::path ScreenshotFolder();
