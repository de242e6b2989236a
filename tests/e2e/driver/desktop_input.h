#pragma once

#include <windows.h>

#include <functional>

// Real mouse and keyboard input from this process, as a person's hand would give
// it: the cursor is placed, and the buttons are pressed and released where it is.

// Moves the cursor as input, in absolute units: under Wine, SetCursorPos stops
// taking effect once an earlier test's process has been killed.
void PlaceCursor(POINT screen);

// Presses or releases mouse buttons where the cursor is (MOUSEEVENTF_ flags).
void Buttons(DWORD flags);

// A left click at a screen point.
void Click(POINT screen);

// Presses and releases a key.
void Key(WORD key);

// Moves given in quick succession do not all arrive under Wine, so the move is
// given again until the cursor is there and what it should cause has happened.
[[nodiscard]] bool MoveUntil(POINT to, const std::function<bool()>& arrived);
