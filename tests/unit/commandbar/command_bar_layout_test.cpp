#include "commandbar/command_bar_layout.h"

#include <gtest/gtest.h>

#include "rect_expectations.h"

namespace {

TEST(CommandBarLayout, ButtonsStandInARowWithTheOptionsButtonApart) {
    const CommandBarLayout layout = LayOutCommandBar(1200, 34, 96, true);
    EXPECT_RECT(layout.buttons[0], 4, 4, 32, 30);
    EXPECT_RECT(layout.buttons[1], 34, 4, 62, 30);
    EXPECT_RECT(layout.buttons[2], 64, 4, 92, 30);
    EXPECT_RECT(layout.buttons[3], 94, 4, 122, 30);
    EXPECT_RECT(layout.buttons[4], 124, 4, 152, 30);
    EXPECT_RECT(layout.buttons[5], 156, 4, 184, 30);

    // Each size is scaled on its own: 2 DIPs are 3 px at 144 DPI.
    const CommandBarLayout scaled = LayOutCommandBar(1200, 51, 144, true);
    EXPECT_RECT(scaled.buttons[0], 6, 6, 48, 45);
    EXPECT_RECT(scaled.buttons[1], 51, 6, 93, 45);
    EXPECT_RECT(scaled.buttons[4], 186, 6, 228, 45);
    EXPECT_RECT(scaled.buttons[5], 234, 6, 276, 45);
}

TEST(CommandBarLayout, SearchBoxTakesASixthOfTheWidthInPixelsAtEveryDpi) {
    const CommandBarLayout at96 = LayOutCommandBar(1200, 60, 96, true);
    ASSERT_TRUE(at96.searchBoxShown);
    EXPECT_RECT(at96.searchBox, 996, 4, 1196, 30);
    EXPECT_RECT(at96.addressEdit, 190, 4, 988, 30);
    EXPECT_RECT(at96.addressRect, 190, 4, 992, 56);

    const CommandBarLayout at144 = LayOutCommandBar(1200, 51, 144, true);
    EXPECT_RECT(at144.searchBox, 994, 6, 1194, 45);
    EXPECT_RECT(at144.addressEdit, 285, 6, 982, 45);
    EXPECT_RECT(at144.addressRect, 285, 6, 988, 45);

    const CommandBarLayout at192 = LayOutCommandBar(1201, 68, 192, true);
    EXPECT_RECT(at192.searchBox, 993, 8, 1193, 60);
    EXPECT_RECT(at192.addressEdit, 380, 8, 977, 60);
    EXPECT_RECT(at192.addressRect, 380, 8, 985, 60);
}

TEST(CommandBarLayout, WithoutTheSearchBoxTheAddressReachesTheRightMargin) {
    const CommandBarLayout layout = LayOutCommandBar(1000, 34, 96, false);
    EXPECT_FALSE(layout.searchBoxShown);
    EXPECT_RECT(layout.addressEdit, 190, 4, 996, 30);
    EXPECT_RECT(layout.addressRect, 190, 4, 996, 30);
}

TEST(CommandBarLayout, NarrowBarsKeep80DipsOfAddressOverTheButtonsButNotPastTheMargin) {
    const CommandBarLayout narrow = LayOutCommandBar(250, 34, 96, false);
    EXPECT_RECT(narrow.addressEdit, 166, 4, 246, 30);
    EXPECT_RECT(narrow.addressRect, 166, 4, 246, 30);

    const CommandBarLayout withSearch = LayOutCommandBar(300, 34, 96, true);
    EXPECT_RECT(withSearch.searchBox, 246, 4, 296, 30);
    EXPECT_RECT(withSearch.addressEdit, 158, 4, 238, 30);
    EXPECT_RECT(withSearch.addressRect, 158, 4, 242, 30);

    const CommandBarLayout tiny = LayOutCommandBar(50, 34, 96, false);
    EXPECT_EQ(tiny.addressEdit.left, 4);
    EXPECT_EQ(tiny.addressRect.left, 4);
    EXPECT_EQ(tiny.addressRect.right, 46);
    const CommandBarLayout tinyScaled = LayOutCommandBar(100, 68, 192, true);
    EXPECT_EQ(tinyScaled.addressEdit.left, 8);
    EXPECT_EQ(tinyScaled.addressRect.left, 8);
}

TEST(SearchBoxIcons, SitAtTheRightWithTheClearZoneBetweenThemAndTheCueBeforeThem) {
    const SearchBoxIcons icons = PlaceSearchBoxIcons(RECT{0, 0, 196, 22}, 96);
    EXPECT_RECT(icons.searchIcon, 177, 4, 191, 18);
    EXPECT_RECT(icons.clearIcon, 159, 4, 173, 18);
    EXPECT_FALSE(InClearZone(icons, 158));
    EXPECT_TRUE(InClearZone(icons, 159));
    EXPECT_TRUE(InClearZone(icons, 176));
    EXPECT_FALSE(InClearZone(icons, 177));
    EXPECT_RECT(icons.cue, 4, 0, 173, 22);

    const SearchBoxIcons scaled = PlaceSearchBoxIcons(RECT{0, 0, 300, 35}, 144);
    // 5 DIPs round up to 8 px.
    EXPECT_RECT(scaled.searchIcon, 271, 7, 292, 28);
    EXPECT_RECT(scaled.clearIcon, 244, 7, 265, 28);
    // The cue's ellipsis comes before the search icon at every DPI.
    EXPECT_RECT(scaled.cue, 6, 0, 265, 35);
    EXPECT_EQ(PlaceSearchBoxIcons(RECT{0, 0, 8, 22}, 96).cue.right, 4) << "a box too narrow for any cue";
}

}  // namespace
