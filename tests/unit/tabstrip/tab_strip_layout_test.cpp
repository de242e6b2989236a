#include "tabstrip/tab_strip_layout.h"

#include <gtest/gtest.h>

#include "tabstrip/tab_strip_buttons.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool SamePoint(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

#define EXPECT_RECT(actual, l, t, r, b) EXPECT_PRED2(SameRect, actual, (RECT{l, t, r, b}))
#define EXPECT_POINT(actual, x, y) EXPECT_PRED2(SamePoint, actual, (POINT{x, y}))

TEST(TabWidth, IsTheTitlePlusRoomForIconAndCloseMarkWithinBounds) {
    EXPECT_EQ(TabWidth(100, 96), 170);
    EXPECT_EQ(TabWidth(10, 96), 100);
    EXPECT_EQ(TabWidth(0, 96), 100);
    EXPECT_EQ(TabWidth(180, 96), 250);
    EXPECT_EQ(TabWidth(181, 96), 250);
    EXPECT_EQ(TabWidth(4000, 96), 250);
    // An unmeasured title counts as 80 DIPs.
    EXPECT_EQ(TabWidth(std::nullopt, 96), 150);
    EXPECT_EQ(TabWidth(std::nullopt, 144), 225);
    EXPECT_EQ(TabWidth(0, 144), 150);
    EXPECT_EQ(TabWidth(300, 144), 375);
    EXPECT_EQ(TabWidth(100, 192), 240);
}

TEST(TabStripLayout, FirstRowLeavesMoreRoomForTheButtonsThanLaterRows) {
    // At 800 px the first row holds 645 px of tabs, later rows 647.
    const TabStripLayout layout = LayOutTabStrip(RECT{0, 0, 800, 27}, 96, {246, 200, 200, 246, 200, 200});
    ASSERT_EQ(layout.tabRects.size(), 6u);
    EXPECT_EQ(layout.rowCount, 3);
    EXPECT_RECT(layout.tabRects[0], 2, 0, 248, 27);
    EXPECT_RECT(layout.tabRects[1], 248, 0, 448, 27);
    EXPECT_RECT(layout.tabRects[2], 2, 27, 202, 54);
    EXPECT_RECT(layout.tabRects[3], 202, 27, 448, 54);
    EXPECT_RECT(layout.tabRects[4], 448, 27, 648, 54);
    EXPECT_RECT(layout.tabRects[5], 2, 54, 202, 81);
}

TEST(TabStripLayout, ATabWiderThanTheRowGetsARowOfItsOwn) {
    const TabStripLayout layout = LayOutTabStrip(RECT{0, 0, 350, 27}, 96, {250, 120, 250});
    EXPECT_EQ(layout.rowCount, 3);
    EXPECT_RECT(layout.tabRects[0], 2, 0, 252, 27);
    EXPECT_RECT(layout.tabRects[1], 2, 27, 122, 54);
    EXPECT_RECT(layout.tabRects[2], 2, 54, 252, 81);
}

TEST(TabStripLayout, RowsFollowTheClientOriginAndScaleWithDpi) {
    const TabStripLayout layout = LayOutTabStrip(RECT{10, 5, 1610, 59}, 192, {400, 500, 390, 300});
    // 1600 px wide at 192 DPI: the first row holds 1290 px, later rows 1294.
    EXPECT_EQ(layout.rowCount, 2);
    EXPECT_RECT(layout.tabRects[0], 14, 5, 414, 59);
    EXPECT_RECT(layout.tabRects[2], 914, 5, 1304, 59);
    EXPECT_RECT(layout.tabRects[3], 14, 59, 314, 113);
}

TEST(TabStripLayout, ButtonsSitAtFixedOffsetsFromTheRightEdge) {
    const TabStripLayout at96 = LayOutTabStrip(RECT{0, 0, 800, 27}, 96, {});
    EXPECT_RECT(at96.closeRect, 774, 3, 798, 23);
    EXPECT_RECT(at96.maximizeRect, 749, 3, 773, 23);
    EXPECT_RECT(at96.minimizeRect, 724, 3, 748, 23);
    EXPECT_RECT(at96.folderOptionsRect, 698, 3, 722, 24);
    EXPECT_RECT(at96.settingsRect, 672, 3, 696, 24);
    EXPECT_RECT(at96.starRect, 650, 3, 670, 23);

    const TabStripLayout at192 = LayOutTabStrip(RECT{0, 0, 1600, 200}, 192, {});
    EXPECT_RECT(at192.closeRect, 1548, 7, 1596, 47);
    EXPECT_RECT(at192.maximizeRect, 1498, 7, 1546, 47);
    EXPECT_RECT(at192.minimizeRect, 1448, 7, 1496, 47);
    EXPECT_RECT(at192.folderOptionsRect, 1396, 6, 1444, 48);
    EXPECT_RECT(at192.settingsRect, 1344, 6, 1392, 48);
    EXPECT_RECT(at192.starRect, 1300, 7, 1340, 47);

    // Offsets are scaled one by one, so 144 DPI rounds each of them.
    const TabStripLayout at144 = LayOutTabStrip(RECT{0, 0, 1000, 41}, 144, {});
    EXPECT_RECT(at144.maximizeRect, 923, 5, 959, 35);
    EXPECT_RECT(at144.folderOptionsRect, 847, 5, 883, 36);
}

TEST(TabStripLayout, WithoutTabsThePlusStandsAtTheLeftOfOneRow) {
    const TabStripLayout layout = LayOutTabStrip(RECT{0, 0, 800, 27}, 96, {});
    EXPECT_TRUE(layout.tabRects.empty());
    EXPECT_EQ(layout.rowCount, 1);
    EXPECT_FALSE(layout.plusOnOwnRow);
    EXPECT_RECT(layout.plusRect, 4, 3, 25, 24);
    EXPECT_EQ(TabStripHeight(800, 96, {}), 27);
    EXPECT_EQ(TabStripHeight(800, 192, {}), 54);
}

TEST(TabStripLayout, PlusFollowsTheLastTabWhileItFitsBeforeTheStar) {
    // Three 200 px tabs end at 602; the "+" needs 25 px after them and one
    // pixel before the star, which stands 150 px from the right.
    const TabStripLayout fits = LayOutTabStrip(RECT{0, 0, 778, 27}, 96, {200, 200, 200});
    EXPECT_FALSE(fits.plusOnOwnRow);
    EXPECT_RECT(fits.plusRect, 606, 3, 627, 24);
    EXPECT_EQ(TabStripHeight(778, 96, {200, 200, 200}), 27);
    // So does the height when the layout has the "+" behind the last tab.
    EXPECT_EQ(TabStripHeight(779, 96, {200, 200, 200}), 27);

    const TabStripLayout crowded = LayOutTabStrip(RECT{0, 0, 777, 27}, 96, {200, 200, 200});
    EXPECT_TRUE(crowded.plusOnOwnRow);
    EXPECT_EQ(crowded.rowCount, 1);
    EXPECT_RECT(crowded.plusRect, 4, 30, 25, 51);
    EXPECT_EQ(TabStripHeight(777, 96, {200, 200, 200}), 54);
}

TEST(TabStripLayout, PlusOnALaterRowFollowsThatRowsLastTab) {
    const TabStripLayout layout = LayOutTabStrip(RECT{0, 0, 800, 27}, 96, {246, 200, 200, 246, 200, 200});
    EXPECT_RECT(layout.plusRect, 206, 57, 227, 78);
    EXPECT_EQ(TabStripHeight(800, 96, {246, 200, 200, 246, 200, 200}), 81);

    const TabStripLayout narrow = LayOutTabStrip(RECT{0, 0, 350, 27}, 96, {250, 120, 250});
    EXPECT_TRUE(narrow.plusOnOwnRow);
    EXPECT_RECT(narrow.plusRect, 4, 84, 25, 105);
    EXPECT_EQ(TabStripHeight(350, 96, {250, 120, 250}), 108);

    const TabStripLayout at192 = LayOutTabStrip(RECT{0, 0, 700, 54}, 192, {400, 400});
    EXPECT_EQ(at192.rowCount, 2);
    EXPECT_TRUE(at192.plusOnOwnRow);
    EXPECT_RECT(at192.plusRect, 8, 114, 50, 156);
    EXPECT_EQ(TabStripHeight(700, 192, {400, 400}), 162);
}

TEST(TabStripHitTest, TabsLoseTheirOuterPixelAndCloseOnTheirRightmostPart) {
    const TabStripLayout layout = LayOutTabStrip(RECT{0, 0, 800, 27}, 96, {200, 200});
    EXPECT_EQ(HitTestTabStrip(layout, {2, 10}, 96).code, kHitNothing);
    EXPECT_EQ(HitTestTabStrip(layout, {10, 0}, 96).code, kHitNothing);
    EXPECT_EQ(HitTestTabStrip(layout, {10, 26}, 96).code, kHitNothing);

    const TabStripHit body = HitTestTabStrip(layout, {3, 1}, 96);
    EXPECT_EQ(body.code, 0);
    EXPECT_FALSE(body.onCloseZone);
    const TabStripHit beforeClose = HitTestTabStrip(layout, {178, 10}, 96);
    EXPECT_EQ(beforeClose.code, 0);
    EXPECT_FALSE(beforeClose.onCloseZone);
    const TabStripHit close = HitTestTabStrip(layout, {179, 10}, 96);
    EXPECT_EQ(close.code, 0);
    EXPECT_TRUE(close.onCloseZone);
    EXPECT_TRUE(HitTestTabStrip(layout, {200, 25}, 96).onCloseZone);
    // The pixel pair where two tabs meet belongs to neither.
    EXPECT_EQ(HitTestTabStrip(layout, {201, 10}, 96).code, kHitNothing);
    EXPECT_EQ(HitTestTabStrip(layout, {202, 10}, 96).code, kHitNothing);
    EXPECT_EQ(HitTestTabStrip(layout, {203, 10}, 96).code, 1);

    const TabStripLayout at192 = LayOutTabStrip(RECT{0, 0, 1600, 54}, 192, {400});
    EXPECT_FALSE(HitTestTabStrip(at192, {358, 20}, 192).onCloseZone);
    EXPECT_TRUE(HitTestTabStrip(at192, {359, 20}, 192).onCloseZone);

    // A pinned tab has no close mark to press.
    const TabStripLayout pinned = LayOutTabStrip(RECT{0, 0, 800, 27}, 96, {200, 200}, 1);
    EXPECT_EQ(HitTestTabStrip(pinned, {199, 10}, 96).code, 0);
    EXPECT_FALSE(HitTestTabStrip(pinned, {199, 10}, 96).onCloseZone);
    EXPECT_TRUE(HitTestTabStrip(pinned, {399, 10}, 96).onCloseZone);
}

// Narrow, and a short name only where another pinned tab has the same icon.
TEST(PinnedTabs, AreNarrowAndShowAShortNameOnlyWhenTheirIconIsShared) {
    EXPECT_EQ(PinnedTabWidth(std::nullopt, 96), 34);
    EXPECT_EQ(PinnedTabWidth(20, 96), 58);
    EXPECT_EQ(PinnedTabWidth(400, 96), PinnedTabWidth(48, 96));
    EXPECT_LT(PinnedTabWidth(400, 96), TabWidth(0, 96));
    EXPECT_EQ(PinnedShortName(L"Documents"), L"Docu");
    EXPECT_EQ(PinnedShortName(L"图片"), L"图片");
    EXPECT_EQ(PinnedShortName(L"abc\xD83D\xDE00z"), L"abc\xD83D\xDE00");

    const std::vector<int> icons = {4, 7, 4, 9, 9};
    EXPECT_TRUE(PinnedIconIsAmbiguous(icons, 3, 0));
    EXPECT_FALSE(PinnedIconIsAmbiguous(icons, 3, 1));
    EXPECT_TRUE(PinnedIconIsAmbiguous(icons, 3, 2));
    // Unpinned tabs neither count nor ask.
    EXPECT_FALSE(PinnedIconIsAmbiguous(icons, 4, 3));
    EXPECT_FALSE(PinnedIconIsAmbiguous(icons, 3, 4));
}

TEST(TabStripHitTest, ButtonsAnswerTheirCodes) {
    const TabStripLayout layout = LayOutTabStrip(RECT{0, 0, 800, 27}, 96, {200});
    EXPECT_EQ(HitTestTabStrip(layout, {206, 3}, 96).code, kHitPlus);
    EXPECT_EQ(HitTestTabStrip(layout, {226, 23}, 96).code, kHitPlus);
    EXPECT_EQ(HitTestTabStrip(layout, {227, 10}, 96).code, kHitNothing);
    EXPECT_EQ(HitTestTabStrip(layout, {650, 3}, 96).code, kHitStar);
    EXPECT_EQ(HitTestTabStrip(layout, {650, 23}, 96).code, kHitNothing);
    EXPECT_EQ(HitTestTabStrip(layout, {670, 10}, 96).code, kHitNothing);
    EXPECT_EQ(HitTestTabStrip(layout, {672, 23}, 96).code, kHitSettings);
    EXPECT_EQ(HitTestTabStrip(layout, {721, 10}, 96).code, kHitFolderOptions);
    EXPECT_EQ(HitTestTabStrip(layout, {724, 10}, 96).code, kHitMinimize);
    EXPECT_EQ(HitTestTabStrip(layout, {772, 22}, 96).code, kHitMaximize);
    EXPECT_EQ(HitTestTabStrip(layout, {774, 10}, 96).code, kHitClose);
    EXPECT_EQ(HitTestTabStrip(layout, {798, 10}, 96).code, kHitNothing);
    EXPECT_FALSE(HitTestTabStrip(layout, {774, 10}, 96).onCloseZone);
}

TEST(TabStripDrop, InsertionIndexSplitsEachTabAtItsMiddle) {
    const std::vector<RECT> tabs = LayOutTabStrip(RECT{0, 0, 800, 27}, 96, {200, 200}).tabRects;
    EXPECT_EQ(InsertionIndexAtPoint(tabs, {2, 10}), 0);
    EXPECT_EQ(InsertionIndexAtPoint(tabs, {101, 10}), 0);
    EXPECT_EQ(InsertionIndexAtPoint(tabs, {102, 10}), 1);
    EXPECT_EQ(InsertionIndexAtPoint(tabs, {202, 0}), 1);
    EXPECT_EQ(InsertionIndexAtPoint(tabs, {302, 26}), 2);
    EXPECT_EQ(InsertionIndexAtPoint(tabs, {500, 10}), 2);
    EXPECT_EQ(InsertionIndexAtPoint(tabs, {50, 27}), 2);
    EXPECT_EQ(InsertionIndexAtPoint({}, {50, 10}), 0);

    EXPECT_EQ(TabIndexAtPoint(tabs, {2, 0}), 0);
    EXPECT_EQ(TabIndexAtPoint(tabs, {202, 10}), 1);
    EXPECT_EQ(TabIndexAtPoint(tabs, {1, 10}), 2);
    EXPECT_EQ(TabIndexAtPoint(tabs, {402, 10}), 2);
}

TEST(TabStripDrop, InsertionBarStandsBeforeItsTabOrAfterTheLast) {
    const std::vector<RECT> tabs = LayOutTabStrip(RECT{0, 0, 350, 27}, 96, {250, 120}).tabRects;
    EXPECT_RECT(*InsertionBarRect(tabs, 0, 96), 1, 0, 3, 27);
    EXPECT_RECT(*InsertionBarRect(tabs, 1, 96), 1, 27, 3, 54);
    EXPECT_RECT(*InsertionBarRect(tabs, 2, 96), 123, 27, 125, 54);
    EXPECT_FALSE(InsertionBarRect(tabs, -1, 96));
    EXPECT_FALSE(InsertionBarRect(tabs, 3, 96));
    EXPECT_FALSE(InsertionBarRect({}, 0, 96));

    const std::vector<RECT> at192 = LayOutTabStrip(RECT{0, 0, 1600, 54}, 192, {400, 400}).tabRects;
    EXPECT_RECT(*InsertionBarRect(at192, 1, 192), 402, 0, 406, 54);
    EXPECT_RECT(*InsertionBarRect(at192, 2, 192), 806, 0, 810, 54);
}

TEST(TabSpinner, PointsRunCounterClockwiseAndRoundTowardZero) {
    const POINT centre{100, 100};
    EXPECT_POINT(PointOnCircle(centre, 6, 0), 106, 100);
    EXPECT_POINT(PointOnCircle(centre, 6, 90), 100, 94);
    // Whole values stay whole despite the error of sin and cos.
    EXPECT_POINT(PointOnCircle(centre, 6, 180), 94, 100);
    EXPECT_POINT(PointOnCircle(centre, 6, 270), 100, 106);
    EXPECT_POINT(PointOnCircle(centre, 6, 120), 97, 94);
    EXPECT_POINT(PointOnCircle(centre, 6, 390), 105, 97);
    EXPECT_POINT(PointOnCircle(POINT{0, 0}, 6, 120), -3, -5);
}

TEST(TabSpinner, ArcsAreCentredWhereTheIconWouldBe) {
    const SpinnerArcs at96 = SpinnerGeometry(RECT{2, 0, 202, 27}, 96, 0);
    EXPECT_RECT(at96.bounds, 9, 7, 21, 19);
    EXPECT_POINT(at96.start, 21, 13);
    EXPECT_POINT(at96.middle, 12, 7);
    EXPECT_POINT(at96.end, 12, 18);

    const SpinnerArcs at192 = SpinnerGeometry(RECT{4, 54, 404, 108}, 192, 90);
    EXPECT_RECT(at192.bounds, 18, 69, 42, 93);
    EXPECT_POINT(at192.start, 30, 69);
    EXPECT_POINT(at192.middle, 19, 87);
    EXPECT_POINT(at192.end, 40, 87);
}

}  // namespace
