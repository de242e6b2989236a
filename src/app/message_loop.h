#pragma once

#include <windows.h>

#include <string_view>

class Application;

// Runs the process's one message loop until WM_QUIT; returns the quit code.
int RunMessageLoop(Application& application);

// Whether a focused window of this class gets its keys untouched by the
// program's shortcuts (edit boxes and the navigation tree).
[[nodiscard]] bool ClassTakesKeysUntouched(std::wstring_view className);

// The program's own keyboard shortcuts for the folder view.
enum class ViewShortcut { None, FocusSearchBox, Refresh };
[[nodiscard]] ViewShortcut ShortcutForKey(UINT message, WPARAM key, bool controlDown);
