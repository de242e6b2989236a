#pragma once

#include <windows.h>

#include <string_view>

#include "input/shortcuts.h"

class Application;

// Runs the process's one message loop until WM_QUIT; returns the quit code.
int RunMessageLoop(Application& application);

// What a focused window of this class is to the shortcuts: edit boxes and the
// navigation tree keep the folder view's keys for themselves.
[[nodiscard]] KeyFocus KeyFocusOfClass(std::wstring_view className);
