#pragma once

#include <windows.h>

// Where the two panes of a split tab stand in the area a tab's panel fills:
// the left pane, the divider between them and the right pane, each pane under
// a thin band that marks the one with the focus.
struct SplitRects {
    RECT left{};
    RECT divider{};
    RECT right{};
    RECT leftMark{};
    RECT rightMark{};
};

// The panes for a divider position (thousandths of the room the panes share
// that the left one takes, bounded).
[[nodiscard]] SplitRects SplitPanelArea(const RECT& area, int divider, int dpi);

// The divider position that puts the divider's middle at x, in the area's
// coordinates, bounded so that neither pane gets less than its least share.
[[nodiscard]] int DividerAt(const RECT& area, int x, int dpi);

// The position one keyboard step away, bounded.
[[nodiscard]] int SteppedDivider(int divider, int step);
