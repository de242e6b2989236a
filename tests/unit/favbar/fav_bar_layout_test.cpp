#include "favbar/fav_bar_layout.h"

#include <gtest/gtest.h>

#include "tabstrip/tab_strip_layout.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

#define EXPECT_RECT(actual, l, t, r, b) EXPECT_PRED2(SameRect, actual, (RECT{l, t, r, b}))

TEST(FavItemWidth, IsTheNamePlusRoomForTheIconAtMost180Dips) {
    EXPECT_EQ(FavItemWidth(100, 96), 124);
    EXPECT_EQ(FavItemWidth(0, 96), 24);
    EXPECT_EQ(FavItemWidth(156, 96), 180);
    EXPECT_EQ(FavItemWidth(157, 96), 180);
    EXPECT_EQ(FavItemWidth(std::nullopt, 96), 24);
    EXPECT_EQ(FavItemWidth(100, 144), 136);
    EXPECT_EQ(FavItemWidth(400, 144), 270);
}

TEST(FavBarLayout, StartsAfterTheStarAndWrapsToTheIndentedNextRow) {
    const FavBarLayout layout = LayOutFavBar(RECT{0, 0, 400, 28}, 96, {100, 150, 120, 50});
    ASSERT_EQ(layout.itemRects.size(), 4u);
    EXPECT_EQ(layout.rowCount, 2);
    EXPECT_RECT(layout.itemRects[0], 24, 1, 124, 27);
    EXPECT_RECT(layout.itemRects[1], 126, 1, 276, 27);
    // 278 + 120 would end beyond 396.
    EXPECT_RECT(layout.itemRects[2], 24, 29, 144, 55);
    EXPECT_RECT(layout.itemRects[3], 146, 29, 196, 55);

    // An item that just fits stays in its row.
    EXPECT_EQ(LayOutFavBar(RECT{0, 0, 400, 28}, 96, {100, 150, 118}).rowCount, 1);
    EXPECT_EQ(FavBarHeight(400, 96, {100, 150, 118}), 28);
    EXPECT_EQ(FavBarHeight(400, 96, {100, 150, 120}), 56);
}

TEST(FavBarLayout, AnItemWiderThanTheRowStandsAlone) {
    const FavBarLayout layout = LayOutFavBar(RECT{0, 0, 100, 28}, 96, {150, 50, 150});
    ASSERT_EQ(layout.itemRects.size(), 3u);
    EXPECT_EQ(layout.rowCount, 3);
    EXPECT_RECT(layout.itemRects[0], 24, 1, 174, 27);
    EXPECT_RECT(layout.itemRects[1], 24, 29, 74, 55);
    EXPECT_RECT(layout.itemRects[2], 24, 57, 174, 83);
    EXPECT_EQ(FavBarHeight(100, 96, {150, 50, 150}), 84);
}

TEST(FavBarLayout, ScalesWithTheDpiAndIsOneRowWithoutItems) {
    const FavBarLayout layout = LayOutFavBar(RECT{10, 5, 600, 47}, 144, {150, 150, 150, 150});
    ASSERT_EQ(layout.itemRects.size(), 4u);
    EXPECT_RECT(layout.itemRects[0], 46, 7, 196, 45);
    EXPECT_RECT(layout.itemRects[1], 199, 7, 349, 45);
    EXPECT_RECT(layout.itemRects[2], 352, 7, 502, 45);
    EXPECT_RECT(layout.itemRects[3], 46, 49, 196, 87);
    EXPECT_EQ(layout.rowCount, 2);
    EXPECT_EQ(FavBarHeight(590, 144, {150, 150, 150, 150}), 84);

    EXPECT_EQ(LayOutFavBar(RECT{0, 0, 400, 28}, 96, {}).rowCount, 1);
    EXPECT_EQ(FavBarHeight(400, 96, {}), 28);
    EXPECT_EQ(FavBarHeight(400, 192, {}), 56);
}

TEST(FavBarDrop, GoesBeforeOrAfterTheItemUnderThePoint) {
    const std::vector<RECT> items = LayOutFavBar(RECT{0, 0, 400, 28}, 96, {100, 150, 120}).itemRects;
    EXPECT_EQ(FavItemAt(items, POINT{24, 1}), 0);
    EXPECT_EQ(FavItemAt(items, POINT{125, 10}), -1) << "the gap between items";
    EXPECT_EQ(FavItemAt(items, POINT{50, 0}), -1);
    EXPECT_EQ(FavItemAt(items, POINT{24, 40}), 2);

    EXPECT_EQ(InsertionIndexAtPoint(items, POINT{73, 10}), 0);
    EXPECT_EQ(InsertionIndexAtPoint(items, POINT{74, 10}), 1);
    EXPECT_EQ(InsertionIndexAtPoint(items, POINT{143, 40}), 3);
    EXPECT_EQ(InsertionIndexAtPoint(items, POINT{380, 10}), 3) << "behind the last item";
    // Item 1 dropped on its own left half or on item 0's right half lands at 1,
    // which is where it already is.
    EXPECT_EQ(InsertionIndexAtPoint(items, POINT{130, 10}), 1);
    EXPECT_EQ(InsertionIndexAtPoint(items, POINT{120, 10}), 1);
}

TEST(FavBarDrop, TheInsertionBarStandsLeftOfTheItemOrRightOfTheLast) {
    const std::vector<RECT> items = LayOutFavBar(RECT{0, 0, 400, 28}, 96, {100, 150, 120}).itemRects;
    EXPECT_RECT(*FavInsertionBarRect(items, 1, 96), 125, 1, 127, 27);
    EXPECT_RECT(*FavInsertionBarRect(items, 2, 96), 23, 29, 25, 55);
    EXPECT_RECT(*FavInsertionBarRect(items, 3, 96), 145, 29, 147, 55);
    EXPECT_RECT(*FavInsertionBarRect(items, 9, 96), 145, 29, 147, 55);
    EXPECT_RECT(*FavInsertionBarRect(items, 0, 192), 22, 1, 26, 27);
    EXPECT_FALSE(FavInsertionBarRect(items, -1, 96));
    EXPECT_FALSE(FavInsertionBarRect({}, 0, 96));
}

}  // namespace
