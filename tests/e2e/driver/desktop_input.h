#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

// Real mouse and keyboard input from this process, as a person's hand would give
// it: the cursor is placed, and the buttons are pressed and released where it is.
//
// Under Wine the input arrives in its own time, later still on a busy machine, so
// every step waits for what the next one needs (the target painted, the cursor
// resting on it, the capture taken), with one generous budget per step, and
// names what it waited for when it gives up.

// The budget of one step of input.
inline constexpr DWORD kInputStepMs = 20000;

// Moves the cursor as input, in absolute units: under Wine, SetCursorPos stops
// taking effect once an earlier test's process has been killed.
void PlaceCursor(POINT screen);

// Presses or releases mouse buttons where the cursor is (MOUSEEVENTF_ flags).
void Buttons(DWORD flags);

// Turns the wheel where the cursor is, by delta (WHEEL_DELTA is one notch away
// from the user).
void Wheel(int delta);

// Presses and releases a key.
void Key(WORD key);
// Presses keys in order and releases them the other way round: {VK_CONTROL, 'T'}.
void Chord(std::initializer_list<WORD> keys);
// Presses a key down and leaves it so, or lets it go.
void HoldKey(WORD key, bool down);

// Whether a window has painted all it was asked to (it works across processes).
[[nodiscard]] bool Painted(HWND window);

// The window that holds the mouse capture, or the keyboard focus, on a window's
// thread, or null.
[[nodiscard]] HWND CaptureOf(HWND window);
[[nodiscard]] HWND FocusOf(HWND window);

// Puts the cursor on a point of a window and waits until it rests there: the
// window and its top-level window have painted, the window is the one under
// the point, and the cursor is still there once the window's thread has taken
// every move given before. A later press then lands where it is aimed.
[[nodiscard]] testing::AssertionResult RestCursorOn(HWND window, POINT screen);

// Presses the left button on a window's point and waits until the window holds
// the capture, as it does when a drag or a move begins there.
[[nodiscard]] testing::AssertionResult GrabOn(HWND window, POINT screen);
// A whole click on a window's point, once the cursor rests there: the press
// (one of MOUSEEVENTF_*DOWN) and its release at once.
[[nodiscard]] testing::AssertionResult ClickOn(HWND window, POINT screen, DWORD down = MOUSEEVENTF_LEFTDOWN);

// Moves given in quick succession do not all arrive under Wine, so the move is
// given again until the cursor is there and what it should cause has happened.
[[nodiscard]] bool MoveUntil(POINT to, const std::function<bool()>& arrived);

// Whether a popup menu is showing.
[[nodiscard]] bool MenuShown();
