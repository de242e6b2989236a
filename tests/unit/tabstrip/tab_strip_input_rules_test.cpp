#include "tabstrip/tab_strip_input_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tabstrip/fav_list.h"
#include "tabstrip/tab_strip.h"
#include "tabstrip/tab_strip_buttons.h"
#include "ui/tab_colours.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Two rows: three 100 px tabs, then one below the first.
const std::vector<RECT> kTwoRows{{2, 0, 102, 27}, {102, 0, 202, 27}, {202, 0, 302, 27}, {2, 27, 102, 54}};

TEST(MovedBeyond, CountsOnlyTravelPastTheThresholdOnEitherAxis) {
    EXPECT_FALSE(MovedBeyond(POINT{10, 10}, POINT{14, 6}, 4));
    EXPECT_TRUE(MovedBeyond(POINT{10, 10}, POINT{15, 10}, 4));
    EXPECT_TRUE(MovedBeyond(POINT{10, 10}, POINT{10, 5}, 4));
    EXPECT_FALSE(MovedBeyond(POINT{10, 10}, POINT{10, 10}, 0));
    EXPECT_TRUE(MovedBeyond(POINT{10, 10}, POINT{9, 10}, 0));
}

TEST(TabDeadZone, IsATabsOutlineAndTheNarrowBandBelowIt) {
    // The outline, each side.
    EXPECT_TRUE(InTabDeadZone(kTwoRows, POINT{2, 13}, 96));
    EXPECT_TRUE(InTabDeadZone(kTwoRows, POINT{101, 13}, 96));
    EXPECT_TRUE(InTabDeadZone(kTwoRows, POINT{150, 0}, 96));
    EXPECT_TRUE(InTabDeadZone(kTwoRows, POINT{150, 26}, 96));
    // Inside, even right next to the outline.
    EXPECT_FALSE(InTabDeadZone(kTwoRows, POINT{3, 1}, 96));
    EXPECT_FALSE(InTabDeadZone(kTwoRows, POINT{100, 25}, 96));
    // Four DIPs below a tab, where no tab lies.
    EXPECT_TRUE(InTabDeadZone(kTwoRows, POINT{150, 27}, 96));
    EXPECT_TRUE(InTabDeadZone(kTwoRows, POINT{301, 30}, 96));
    EXPECT_FALSE(InTabDeadZone(kTwoRows, POINT{150, 31}, 96));
    EXPECT_FALSE(InTabDeadZone(kTwoRows, POINT{302, 28}, 96));
    EXPECT_TRUE(InTabDeadZone(kTwoRows, POINT{50, 57}, 96));
    // A tab of the next row keeps its inside.
    EXPECT_FALSE(InTabDeadZone(kTwoRows, POINT{50, 29}, 96));
    // The band scales; the outline stays one pixel.
    EXPECT_TRUE(InTabDeadZone(kTwoRows, POINT{150, 34}, 192));
    EXPECT_FALSE(InTabDeadZone(kTwoRows, POINT{150, 35}, 192));
    EXPECT_FALSE(InTabDeadZone(kTwoRows, POINT{150, 1}, 192));
    EXPECT_FALSE(InTabDeadZone({}, POINT{0, 0}, 96));
}

TEST(TabLanding, IsThisStripAnotherStripOrElsewhere) {
    EXPECT_EQ(TabLandingAt(true, L"Quorlen.TabStrip"), TabLanding::ThisStrip);
    EXPECT_EQ(TabLandingAt(false, L"Quorlen.TabStrip"), TabLanding::OtherStrip);
    EXPECT_EQ(TabLandingAt(false, L"QUORLEN.tabstrip"), TabLanding::OtherStrip);
    EXPECT_EQ(TabLandingAt(false, L"Quorlen.MainWindow"), TabLanding::Elsewhere);
    EXPECT_EQ(TabLandingAt(false, L"Quorlen.TabStrip2"), TabLanding::Elsewhere);
    EXPECT_EQ(TabLandingAt(false, L""), TabLanding::Elsewhere);
    EXPECT_EQ(TabLandingAt(false, nullptr), TabLanding::Elsewhere);
}

// Pinned tabs are never closed with the others, so they count for nothing here.
TEST(TabMenu, ClosingOthersNeedsAnotherUnpinnedTabAndClosingToTheRightOneThere) {
    const std::vector<bool> one(1, false);
    const std::vector<bool> three(3, false);
    EXPECT_FALSE(TabMenuEventApplies(kTabEventCloseOthers, 0, one));
    EXPECT_TRUE(TabMenuEventApplies(kTabEventCloseOthers, 2, three));
    EXPECT_TRUE(TabMenuEventApplies(kTabEventCloseToTheRight, 1, three));
    EXPECT_FALSE(TabMenuEventApplies(kTabEventCloseToTheRight, 2, three));
    EXPECT_TRUE(TabMenuEventApplies(kTabEventClose, 0, one));
    EXPECT_TRUE(TabMenuEventApplies(kTabEventDuplicate, 0, one));

    const std::vector<bool> pinnedFirstTwo = {true, true, false};
    EXPECT_FALSE(TabMenuEventApplies(kTabEventCloseOthers, 2, pinnedFirstTwo));
    EXPECT_TRUE(TabMenuEventApplies(kTabEventCloseOthers, 0, pinnedFirstTwo));
    EXPECT_TRUE(TabMenuEventApplies(kTabEventCloseToTheRight, 0, pinnedFirstTwo));
    EXPECT_FALSE(TabMenuEventApplies(kTabEventCloseToTheRight, 0, {true, true}));
    EXPECT_TRUE(TabMenuEventApplies(kTabEventClose, 0, {true}));
}

TEST(TabMenu, ADraggedTabLandsAmongTabsOfItsKind) {
    // Five tabs, two pinned: a pinned one before the third, another after the second.
    EXPECT_EQ(InsertIndexAmong(4, true, 2, 5), 2);
    EXPECT_EQ(InsertIndexAmong(1, true, 2, 5), 1);
    EXPECT_EQ(InsertIndexAmong(0, false, 2, 5), 2);
    EXPECT_EQ(InsertIndexAmong(5, false, 2, 5), 5);
    EXPECT_EQ(InsertIndexAmong(-1, true, 2, 5), -1);
}

TEST(TabMenu, ScreenReadersHearPinsAndColoursBeforeTheFolder) {
    EXPECT_EQ(TabDescription(true, 1, L"C:\\work"), L"已固定，红色，C:\\work");
    EXPECT_EQ(TabDescription(false, 0, L"C:\\work"), L"C:\\work");
    EXPECT_EQ(TabDescription(true, 99, L""), L"已固定");
    // Every colour row has its own access key.
    std::vector<std::wstring> keys;
    for (int colour = 0; colour <= kTabColourCount; ++colour) {
        const std::wstring text = TabColourMenuText(colour);
        const size_t amp = text.find(L"(&");
        ASSERT_NE(amp, std::wstring::npos) << colour;
        EXPECT_EQ(std::find(keys.begin(), keys.end(), text.substr(amp)), keys.end()) << colour;
        keys.push_back(text.substr(amp));
    }
}

TEST(ResizeHitCode, IsTheCornerNearTheWindowsTopAndTheRightEdgeBelow) {
    EXPECT_EQ(ResizeHitCode(115, 100, 96), HTTOPRIGHT);
    EXPECT_EQ(ResizeHitCode(116, 100, 96), HTRIGHT);
    EXPECT_EQ(ResizeHitCode(123, 100, 144), HTTOPRIGHT);
    EXPECT_EQ(ResizeHitCode(124, 100, 144), HTRIGHT);
    EXPECT_EQ(ResizeHitCode(-200, -190, 96), HTTOPRIGHT);
}

TEST(DragInsertIndex, FollowsTheTabMiddlesInsideTheStripOnly) {
    const RECT client{0, 0, 800, 54};
    EXPECT_EQ(DragInsertIndex(kTwoRows, client, POINT{151, 10}), 1);
    EXPECT_EQ(DragInsertIndex(kTwoRows, client, POINT{152, 10}), 2);
    EXPECT_EQ(DragInsertIndex(kTwoRows, client, POINT{52, 40}), 4);
    EXPECT_EQ(DragInsertIndex(kTwoRows, client, POINT{500, 10}), 4);
    EXPECT_EQ(DragInsertIndex(kTwoRows, client, POINT{150, 54}), -1);
    EXPECT_EQ(DragInsertIndex(kTwoRows, client, POINT{-1, 10}), -1);
}

TEST(TitleIsCut, WhenTheTitleIsWiderThanTheRoomBetweenIconAndCloseMark) {
    // A 250 px tab leaves 180 px for the title at 96 DPI, 110 px at 144 DPI.
    const RECT tab{102, 0, 352, 27};
    EXPECT_FALSE(TitleIsCut(tab, 180, 96));
    EXPECT_TRUE(TitleIsCut(tab, 181, 96));
    EXPECT_FALSE(TitleIsCut(tab, 145, 144));
    EXPECT_TRUE(TitleIsCut(tab, 146, 144));
    // No room at all: nothing would show in a tip either.
    EXPECT_FALSE(TitleIsCut(RECT{0, 0, 70, 27}, 500, 96));
}

TEST(HotRect, IsTheHotTabsElseTheHotButtonsPlace) {
    const TabStripLayout layout = LayOutTabStrip(RECT{0, 0, 800, 27}, 96, {100, 100});
    EXPECT_PRED2(SameRect, *HotRect(layout, 1, kHitNothing), layout.tabRects[1]);
    for (const TabStripButton& button : kTabStripButtons) {
        EXPECT_PRED2(SameRect, *HotRect(layout, -1, button.hitCode), layout.*button.rect) << button.hitCode;
    }
    EXPECT_FALSE(HotRect(layout, -1, kHitNothing));
    EXPECT_FALSE(HotRect(layout, 2, kHitNothing));
}

TEST(FavListGeometry, RowsOfTwentyEightDipsWithTheRemoveColumnAtTheRight) {
    const SIZE size = FavListSize(100, 3, 96);
    EXPECT_EQ(size.cx, 172);
    EXPECT_EQ(size.cy, 84);
    const SIZE large = FavListSize(100, 3, 144);
    EXPECT_EQ(large.cx, 208);
    EXPECT_EQ(large.cy, 126);

    EXPECT_EQ(FavListRowAt(POINT{10, 0}, size, 3, 96), 0);
    EXPECT_EQ(FavListRowAt(POINT{10, 27}, size, 3, 96), 0);
    EXPECT_EQ(FavListRowAt(POINT{10, 28}, size, 3, 96), 1);
    EXPECT_EQ(FavListRowAt(POINT{171, 83}, size, 3, 96), 2);
    EXPECT_EQ(FavListRowAt(POINT{10, 84}, size, 3, 96), -1);
    EXPECT_EQ(FavListRowAt(POINT{172, 10}, size, 3, 96), -1);
    EXPECT_EQ(FavListRowAt(POINT{10, -1}, size, 3, 96), -1);
    EXPECT_EQ(FavListRowAt(POINT{10, 60}, size, 2, 96), -1);

    EXPECT_TRUE(OnFavRemoveColumn(150, 172, 96));
    EXPECT_FALSE(OnFavRemoveColumn(149, 172, 96));

    const FavRowParts parts = FavListRow(2, 172, 96);
    EXPECT_PRED2(SameRect, parts.row, (RECT{0, 56, 172, 84}));
    EXPECT_EQ(parts.icon.x, 8);
    EXPECT_EQ(parts.icon.y, 62);
    EXPECT_PRED2(SameRect, parts.name, (RECT{30, 56, 150, 84}));
    EXPECT_PRED2(SameRect, parts.removeMark, (RECT{150, 56, 172, 84}));
}

}  // namespace
