#pragma once

#include <windows.h>

#include <optional>

#include "mainwindow/frame_geometry.h"

// The frame of a main window that draws none: the messages that size and hit
// test it, where it first stands, the rectangle it leaves behind, and moving it
// by the strip along its top edge, since it has no caption.

// The answer to a message about the window's frame: its size limits, client
// area, hit test and non-client painting; none for any other message.
[[nodiscard]] std::optional<LRESULT> AnswerFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                        int dpi);

// Where a window is made: a size given (width and height above 0), else the
// saved one when it is on a monitor, else the default; at x and y when both are
// given, kept on the work area, else where the system puts it.
[[nodiscard]] WindowBounds ChooseWindowBounds(const SavedWindowRect& saved, int width, int height, int x, int y);

// The rectangle a window saves for the next one: a maximised or minimised
// window's normal rectangle, in screen coordinates. False when it cannot be read.
[[nodiscard]] bool NormalScreenRect(HWND window, RECT& rect);

// A press in the move strip drags the window once the pointer has travelled.
class MoveStripDrag {
public:
    // Mouse messages of the window; true when the drag took the message.
    bool OnMessage(HWND window, UINT message, LPARAM lParam, int dpi);

private:
    bool Begin(HWND window, POINT clientPoint, int dpi);
    bool Move(HWND window, POINT clientPoint, int dpi);
    bool End();

    bool dragging = false;
    bool moved = false;
    POINT start{0, 0};
};
