#pragma once

#include <windows.h>

#include <vector>

// The parts of an accessible object that need no window: which child a point
// is over and where a navigation leads. Children are numbered as MSAA numbers
// them, from 1; 0 (CHILDID_SELF) is the object itself.

// The first child whose rectangle holds the point (edges at the right and the
// bottom excluded), or 0 when none does.
[[nodiscard]] long AccessibleChildAt(const std::vector<RECT>& childRects, POINT point);

// Where accNavigate goes from a start (0 for the object itself) among count
// children: first and last child only from the object; next, previous, left
// and right only from a child, never past either end. 0 when it leads nowhere
// this object can answer for (up and down, or past an end).
[[nodiscard]] long AccessibleNavigate(long count, long start, long direction);

// The events that announce a new active item of a strip: always the selection;
// the focus only while the strip holds the keyboard focus, for a screen reader
// reads whatever the focus event names, and keys typed go where the focus is.
[[nodiscard]] std::vector<DWORD> ActiveItemEvents(bool stripHasFocus);
