#include "dialogs/donate_layout.h"

#include <gtest/gtest.h>

#include "unit/commandbar/rect_expectations.h"

namespace {

void ExpectSize(SIZE actual, LONG width, LONG height) {
    EXPECT_EQ(actual.cx, width);
    EXPECT_EQ(actual.cy, height);
}

TEST(DonateClientSize, ShowsThePictureAtItsOwnSizeWithinATwelveDipMargin) {
    ExpectSize(DonateClientSize(361, 426, 96), 385, 450);
    ExpectSize(DonateClientSize(361, 426, 144), 397, 462);
    // Never enlarged, however small.
    ExpectSize(DonateClientSize(1, 1, 96), 25, 25);
}

TEST(DonateClientSize, ShrinksALargePictureKeepingItsShape) {
    // Too tall: 560 pixels high.
    ExpectSize(DonateClientSize(300, 1400, 96), 24 + 120, 24 + 560);
    // Too wide: 400 pixels wide.
    ExpectSize(DonateClientSize(1000, 500, 96), 24 + 400, 24 + 200);
    // Both limits are pixels, not scaled with the DPI.
    ExpectSize(DonateClientSize(800, 1120, 192), 48 + 400, 48 + 560);
    // A sliver keeps at least one pixel.
    ExpectSize(DonateClientSize(10000, 1, 96), 24 + 400, 24 + 1);
}

TEST(DonatePictureRect, FitsTheClientAreaKeepingTheShapeAndCentres) {
    const std::optional<RECT> ownSize = DonatePictureRect(RECT{0, 0, 385, 450}, 361, 426, 96);
    ASSERT_TRUE(ownSize);
    EXPECT_RECT(*ownSize, 12, 12, 373, 438);

    // Wider than the picture: full height, centred across.
    const std::optional<RECT> wide = DonatePictureRect(RECT{0, 0, 600, 300}, 361, 426, 96);
    ASSERT_TRUE(wide);
    EXPECT_RECT(*wide, 183, 12, 416, 288);

    // Enlarged to fill, without a limit, and the margin follows the DPI.
    const std::optional<RECT> large = DonatePictureRect(RECT{0, 0, 746, 900}, 361, 426, 192);
    ASSERT_TRUE(large);
    EXPECT_RECT(*large, 24, 38, 722, 861);
}

TEST(DonatePictureRect, NothingWhenTheMarginLeavesNoRoom) {
    EXPECT_FALSE(DonatePictureRect(RECT{0, 0, 24, 450}, 361, 426, 96));
    EXPECT_FALSE(DonatePictureRect(RECT{0, 0, 385, 10}, 361, 426, 96));
    EXPECT_TRUE(DonatePictureRect(RECT{0, 0, 25, 25}, 361, 426, 96));
}

}  // namespace
