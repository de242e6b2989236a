#pragma once

#include <windows.h>

#include <string>

#include "ui/dpi.h"

// Frame rules of the frameless main window, as functions of plain values.

inline constexpr int kDefaultWindowWidth = 1280;
inline constexpr int kDefaultWindowHeight = 800;

// A window's position and size; x and y may be CW_USEDEFAULT.
struct WindowBounds {
    int x;
    int y;
    int width;
    int height;
};

// Hit-test code for a screen point over a window with the given screen rectangle.
[[nodiscard]] LRESULT FrameHitTest(POINT screenPoint, const RECT& windowRect, int dpi, bool maximised);

// Whether a client point lies in the outer strip that moves the window.
[[nodiscard]] bool InMoveStrip(POINT clientPoint, SIZE clientSize, int dpi);

// Whether the pointer has travelled far enough from where the move began.
[[nodiscard]] bool PassedMoveThreshold(POINT start, POINT now, int dpi);

[[nodiscard]] SIZE MinimumTrackSize(int dpi);

// The client rectangle for a proposed window rectangle: the whole window, except
// that a window covering the work area (maximised) gets exactly the work area.
// workArea is null when the monitor is unknown.
[[nodiscard]] RECT ClientRectForWindow(const RECT& windowRect, const RECT* workArea);

// Moves a window of the given size at position so that it stays on the work area.
[[nodiscard]] POINT KeepOnWorkArea(POINT position, SIZE size, const RECT& workArea);

// A window rectangle kept in the settings.
struct SavedWindowRect {
    bool present = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Whether a saved rectangle is big enough to be worth restoring; the caller still
// checks that its centre is on a monitor.
[[nodiscard]] bool SavedRectLargeEnough(const SavedWindowRect& saved);
[[nodiscard]] POINT SavedRectCentre(const SavedWindowRect& saved);

// The normal rectangle of a window placement is in workspace coordinates, which
// are offset from the screen's by whatever the taskbar takes at the top or left.
[[nodiscard]] RECT WorkspaceToScreen(const RECT& workspaceRect, const RECT& monitor, const RECT& workArea);

// Whether closing a window with this many tabs asks first; a close the program
// or an installer asks for itself never does.
[[nodiscard]] bool CloseNeedsConfirmation(size_t tabCount, bool unattended);

// What a window does when told the session ends (WM_ENDSESSION): nothing when
// the end was called off; at a log-off or shutdown it saves, and the system
// ends the process; when an installer's Restart Manager closes the program
// (ENDSESSION_CLOSEAPP) the session goes on, so it saves and closes as well.
enum class SessionEndStep { Nothing, Save, SaveAndClose };
[[nodiscard]] SessionEndStep StepForSessionEnd(bool ending, LPARAM reasons);
[[nodiscard]] std::wstring CloseQuestionText(size_t tabCount);
