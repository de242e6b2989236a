#include "panel/view_input_rules.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

constexpr DoubleClickLimits kLimits{500, 4, 4};

TEST(ViewInputRules, ASecondClickComesSoonAndNearAfterARememberedOne) {
    const POINT first{100, 100};
    EXPECT_TRUE(IsSecondClick(1000, first, 1500, POINT{104, 96}, kLimits));
    EXPECT_FALSE(IsSecondClick(1000, first, 1501, first, kLimits)) << "too late";
    EXPECT_FALSE(IsSecondClick(1000, first, 1200, POINT{105, 100}, kLimits)) << "too far sideways";
    EXPECT_FALSE(IsSecondClick(1000, first, 1200, POINT{100, 95}, kLimits)) << "too far up";
    // No remembered click, even when the tick count itself is small.
    EXPECT_FALSE(IsSecondClick(0, first, 200, first, kLimits));
    // The tick count wraps around between the clicks.
    EXPECT_TRUE(IsSecondClick(0xFFFFFF00u, first, 0x00000050u, first, kLimits));
}

TEST(ViewInputRules, TheNavigationPaneIsMovedUpByTheBandWithinItsMargins) {
    EXPECT_EQ(MeasuredMargin(0, 1), 0);
    EXPECT_EQ(MeasuredMargin(20, 1), 20);
    EXPECT_EQ(MeasuredMargin(21, 1), 1);
    EXPECT_EQ(MeasuredMargin(-3, 1), 1);

    EXPECT_EQ(UsableNavInset(1), 1);
    EXPECT_EQ(UsableNavInset(299), 299);
    EXPECT_EQ(UsableNavInset(0), 0);
    EXPECT_EQ(UsableNavInset(300), 0);
    EXPECT_EQ(UsableNavInset(-12), 0);

    const RECT target = NavLayoutTarget(30, 2, 1, RECT{0, 0, 400, 300});
    EXPECT_EQ(target.left, 2);
    EXPECT_EQ(target.top, -29);
    EXPECT_EQ(target.right - target.left, 396);
    EXPECT_EQ(target.bottom - target.top, 328);
}

TEST(ViewInputRules, AKeyboardMenuOpensOnTheVisiblePartOfTheItem) {
    const RECT view{100, 100, 500, 400};
    EXPECT_EQ(KeyboardMenuPoint(RECT{120, 140, 220, 160}, view).x, 170);
    EXPECT_EQ(KeyboardMenuPoint(RECT{120, 140, 220, 160}, view).y, 150);
    // Half scrolled out below: the middle of what is still in view.
    const POINT clipped = KeyboardMenuPoint(RECT{120, 380, 220, 420}, view);
    EXPECT_EQ(clipped.y, 390);
    // Out of sight, or no rectangle known: the view's corner.
    const POINT corner = KeyboardMenuPoint(RECT{120, 500, 220, 520}, view);
    EXPECT_EQ(corner.x, 100);
    EXPECT_EQ(corner.y, 100);
    EXPECT_EQ(KeyboardMenuPoint(RECT{}, view).x, 100);
}

TEST(ViewInputRules, ArchivesAreFilesToOpenNotFoldersToBrowse) {
    EXPECT_TRUE(IsBrowsableFolder(SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER));
    EXPECT_FALSE(IsBrowsableFolder(SFGAO_FOLDER | SFGAO_STREAM | SFGAO_FILESYSTEM));
    EXPECT_FALSE(IsBrowsableFolder(SFGAO_STREAM));
    EXPECT_FALSE(IsBrowsableFolder(0));
}

// Without a second pane only a single folder gets an entry, and the shell's
// menu serves everything else as it is.
TEST(ViewInputRules, TheItemMenuOffersTheOtherPaneForAnySelection) {
    using Entries = std::vector<ItemMenuEntry>;
    EXPECT_EQ(ItemMenuEntries(false, 1, true), Entries{ItemMenuEntry::OpenInNewTab});
    EXPECT_TRUE(ItemMenuEntries(false, 1, false).empty());
    EXPECT_TRUE(ItemMenuEntries(false, 2, false).empty());

    EXPECT_EQ(ItemMenuEntries(true, 1, true), (Entries{ItemMenuEntry::CopyToOtherPane, ItemMenuEntry::MoveToOtherPane,
                                                       ItemMenuEntry::OpenInNewTab, ItemMenuEntry::OpenInOtherPane}));
    for (const size_t count : {1u, 2u, 500u}) {
        const Entries entries = ItemMenuEntries(true, count, false);
        ASSERT_GE(entries.size(), 2u) << count;
        EXPECT_EQ(entries[0], ItemMenuEntry::CopyToOtherPane) << count;
        EXPECT_EQ(entries[1], ItemMenuEntry::MoveToOtherPane) << count;
        EXPECT_EQ(std::count(entries.begin(), entries.end(), ItemMenuEntry::OpenInOtherPane), 0) << count;
    }
    // A click on the background has no items to offer.
    EXPECT_TRUE(ItemMenuEntries(true, 0, false).empty());
}

TEST(ViewInputRules, OnlyIconAndTileViewsLocateItemsByTheirPositions) {
    for (const UINT mode : {FVM_ICON, FVM_SMALLICON, FVM_THUMBNAIL, FVM_TILE}) {
        EXPECT_TRUE(PositionsLocateItems(mode)) << mode;
    }
    for (const UINT mode : {FVM_LIST, FVM_DETAILS, FVM_CONTENT, FVM_THUMBSTRIP, FVM_AUTO}) {
        EXPECT_FALSE(PositionsLocateItems(mode)) << mode;
    }
}

TEST(ViewInputRules, TheWholeRowOfATreeItemTakesTheMiddleClick) {
    for (const UINT flags : {TVHT_ONITEMICON, TVHT_ONITEMLABEL, TVHT_ONITEMSTATEICON, TVHT_ONITEMINDENT,
                             TVHT_ONITEMRIGHT, TVHT_ONITEMBUTTON}) {
        EXPECT_TRUE(OnTreeRow(flags)) << flags;
    }
    for (const UINT flags : {TVHT_NOWHERE, TVHT_ABOVE, TVHT_BELOW, TVHT_TORIGHT, TVHT_TOLEFT}) {
        EXPECT_FALSE(OnTreeRow(flags)) << flags;
    }
}

}  // namespace
