#include "mainwindow/split_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "settings/tab_splits.h"

namespace {

int Width(const RECT& rect) { return rect.right - rect.left; }

// The panes, the divider and the marks above the panes tile the area, and
// neither pane ever gets less than its least share of the room they share.
TEST(SplitLayout, PanesTileTheAreaAndKeepTheirLeastShare) {
    const RECT area{10, 100, 1010, 700};
    for (const int dpi : {96, 144}) {
        for (const int divider : {-5, 0, kNarrowestDivider, 350, kEvenDivider, kWidestDivider, 2000}) {
            const SplitRects panes = SplitPanelArea(area, divider, dpi);
            EXPECT_EQ(panes.left.left, area.left);
            EXPECT_EQ(panes.divider.left, panes.left.right);
            EXPECT_EQ(panes.right.left, panes.divider.right);
            EXPECT_EQ(panes.right.right, area.right);
            EXPECT_EQ(panes.leftMark.bottom, panes.left.top);
            EXPECT_EQ(panes.rightMark.bottom, panes.right.top);
            EXPECT_EQ(panes.left.bottom, area.bottom);
            const int room = Width(area) - Width(panes.divider);
            EXPECT_GE(Width(panes.left) * 5, room - 5) << divider;
            EXPECT_GE(Width(panes.right) * 5, room - 5) << divider;
        }
    }
    const SplitRects even = SplitPanelArea(area, kEvenDivider, 96);
    EXPECT_LE(std::abs(Width(even.left) - Width(even.right)), 1);
}

TEST(SplitLayout, TheDividerFollowsTheCursorWithinBoundsAndStepsByAKey) {
    const RECT area{0, 0, 1006, 600};
    const SplitRects even = SplitPanelArea(area, kEvenDivider, 96);
    const int middle = (even.divider.left + even.divider.right) / 2;
    EXPECT_NEAR(DividerAt(area, middle, 96), kEvenDivider, 2);
    EXPECT_EQ(DividerAt(area, -400, 96), kNarrowestDivider);
    EXPECT_EQ(DividerAt(area, 5000, 96), kWidestDivider);
    // No room at all leaves the halves even.
    EXPECT_EQ(DividerAt(RECT{0, 0, 4, 10}, 2, 96), kEvenDivider);

    EXPECT_EQ(SteppedDivider(kEvenDivider, 1), 550);
    EXPECT_EQ(SteppedDivider(kEvenDivider, -1), 450);
    EXPECT_EQ(SteppedDivider(kWidestDivider, 1), kWidestDivider);
    EXPECT_EQ(SteppedDivider(kNarrowestDivider + 10, -1), kNarrowestDivider);
}

}  // namespace
