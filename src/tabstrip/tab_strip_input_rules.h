#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tabstrip/tab_strip_layout.h"

// The decisions of the strip's mouse handling as functions of plain values:
// points, rectangles, the DPI and class names. The window code gathers these
// values from the mouse messages and the system and acts on the answers.

// How far, in DIPs, the mouse must travel from a press before it turns into a
// gesture: a tab drag, the escape from a caption button into a window resize,
// and a window move.
inline constexpr int kTabDragThresholdDips = 4;
inline constexpr int kCaptionEscapeThresholdDips = 3;
inline constexpr int kWindowMoveThresholdDips = 3;
// Presses this close to the strip's left edge leave the window where it is.
inline constexpr int kNoMoveMarginDips = 8;

// Whether a client point lies where presses are ignored: on the 1-px border of a
// tab, or just below a tab, within its width and 4 DIPs of its bottom edge,
// unless another tab lies there.
[[nodiscard]] bool InTabDeadZone(const std::vector<RECT>& tabRects, POINT client, int dpi);

// Where a dragged tab lands: on this strip, to move there; on the strip of
// another window, to move into that window; anywhere else, to tear off into a
// window of its own.
enum class TabLanding { ThisStrip, OtherStrip, Elsewhere };

// className is the class of the window under the drop, empty when there is none.
[[nodiscard]] TabLanding TabLandingAt(bool overThisStrip, const wchar_t* className);

// Which edge a resize started from a caption button takes: the top-right corner
// near the window's top, the right edge below it.
[[nodiscard]] int ResizeHitCode(int cursorScreenY, int windowTop, int dpi);

// Whether a title of that measured width is cut short in its tab and so needs a tooltip.
[[nodiscard]] bool TitleIsCut(const RECT& tab, int titleWidth, int dpi);

// The rectangle that changes when the hot item does: the hot tab's, else the
// hot button's, given by its hit code.
[[nodiscard]] std::optional<RECT> HotRect(const TabStripLayout& layout, int hotTab, int hotButton);

// Whether a tab menu entry has something to act on for the tab at index among
// the tabs, pinned or not: closing the others needs another tab that is not
// pinned, closing those to the right such a tab to the right.
[[nodiscard]] bool TabMenuEventApplies(int event, int tab, const std::vector<bool>& pinned);

// Where a dragged tab may be dropped among count tabs, the first pinnedCount of
// them pinned: a pinned tab among the pinned ones, another after them. A
// point outside the strip (-1) stays outside.
[[nodiscard]] int InsertIndexAmong(int insertIndex, bool pinned, int pinnedCount, int count);

// What a screen reader tells of a tab beyond its name: "已固定" for a pinned
// tab, its colour's name, and its folder, in that order, those it has.
[[nodiscard]] std::wstring TabDescription(bool pinned, int colour, const std::wstring& folder);

// A colour's row in the tab menu, with its access key: "红色(&R)" and so on.
[[nodiscard]] std::wstring TabColourMenuText(int colour);
