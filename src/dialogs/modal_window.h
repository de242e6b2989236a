#pragma once

#include <windows.h>

// The captioned popups the dialogs run modally over their owner.

// The outer size of such a popup whose client area is clientSize at a DPI.
[[nodiscard]] SIZE ModalWindowSize(SIZE clientSize, int dpi);

// Creates a visible popup with a caption and a close button, owned by owner,
// its client area clientSize; object is the creation parameter its class's
// procedure binds. Null on failure.
[[nodiscard]] HWND CreateModalWindow(const wchar_t* className, const wchar_t* title, SIZE clientSize, int dpi,
                                     HWND owner, void* object);

// Centres window over owner, disables owner and dispatches the thread's messages
// until window is gone; then enables owner again and brings it to the front.
// A WM_QUIT meanwhile destroys window, enables owner and is posted again, so that
// the loop outside ends too.
void RunModalWindow(HWND window, HWND owner);
