#include "mainwindow/tabs/tab_list.h"

#include <gtest/gtest.h>

namespace {

TEST(ActiveTabAfterRemoval, ClosingTheActiveTabHandsOverToItsNeighbour) {
    // Active last of three: the new last one takes over.
    ActiveAfterRemoval next = ActiveTabAfterRemoval(2, 2, 2);
    EXPECT_TRUE(next.activeRemoved);
    EXPECT_EQ(next.index, 1);
    // Active first of three: the former second, now first.
    next = ActiveTabAfterRemoval(0, 0, 2);
    EXPECT_TRUE(next.activeRemoved);
    EXPECT_EQ(next.index, 0);
    // Active middle: the tab that moved into its place.
    next = ActiveTabAfterRemoval(1, 1, 2);
    EXPECT_EQ(next.index, 1);
    // The only tab: nothing is left to activate.
    next = ActiveTabAfterRemoval(0, 0, 0);
    EXPECT_EQ(next.index, -1);
}

TEST(ActiveTabAfterRemoval, OtherTabsKeepTheSameTabActive) {
    ActiveAfterRemoval next = ActiveTabAfterRemoval(0, 2, 3);
    EXPECT_FALSE(next.activeRemoved);
    EXPECT_EQ(next.index, 1);
    next = ActiveTabAfterRemoval(3, 1, 3);
    EXPECT_FALSE(next.activeRemoved);
    EXPECT_EQ(next.index, 1);
}

TEST(MoveTab, TargetCountsTheSlotWithoutTheMovedTab) {
    // Tab 0 dropped at slot 2 of three tabs lands at index 1.
    EXPECT_EQ(MoveTarget(0, 2), 1);
    // Dropped onto its own place, either side of itself, it stays.
    EXPECT_EQ(MoveTarget(1, 1), 1);
    EXPECT_EQ(MoveTarget(1, 2), 1);
    // Past the end and to the front.
    EXPECT_EQ(MoveTarget(0, 3), 2);
    EXPECT_EQ(MoveTarget(2, 0), 0);
}

TEST(MoveTab, ActiveTabFollowsItsTab) {
    // The moved tab was active.
    EXPECT_EQ(ActiveTabAfterMove(0, 2, 0), 2);
    // A tab moved from before the active one to after it.
    EXPECT_EQ(ActiveTabAfterMove(0, 2, 1), 0);
    EXPECT_EQ(ActiveTabAfterMove(0, 1, 1), 0);
    // A tab moved from after the active one to before it.
    EXPECT_EQ(ActiveTabAfterMove(3, 0, 2), 3);
    EXPECT_EQ(ActiveTabAfterMove(3, 2, 2), 3);
    // Moves that do not cross the active tab.
    EXPECT_EQ(ActiveTabAfterMove(2, 3, 0), 0);
    EXPECT_EQ(ActiveTabAfterMove(1, 0, 3), 3);
}

TEST(SteppedTab, WrapsAtBothEnds) {
    EXPECT_EQ(SteppedTab(0, -1, 3), 2);
    EXPECT_EQ(SteppedTab(2, 1, 3), 0);
    EXPECT_EQ(SteppedTab(1, 1, 3), 2);
    EXPECT_EQ(SteppedTab(1, -1, 3), 0);
}

TEST(FolderToShowForSelection, DrivePathsShowTheFolderAboveTheItem) {
    EXPECT_EQ(FolderToShowForSelection(L"C:\\dir\\file.txt"), L"C:\\dir");
    // The drive-relative folder, as the item's parent is named without its root.
    EXPECT_EQ(FolderToShowForSelection(L"C:\\file.txt"), L"C:");
    EXPECT_EQ(FolderToShowForSelection(L"D:\\a\\b\\c"), L"D:\\a\\b");
}

TEST(FolderToShowForSelection, OtherPathsAreShownAsGiven) {
    EXPECT_EQ(FolderToShowForSelection(L"\\\\server\\share\\file.txt"), L"\\\\server\\share\\file.txt");
    EXPECT_EQ(FolderToShowForSelection(L"C:"), L"C:");
    EXPECT_EQ(FolderToShowForSelection(L"file.txt"), L"file.txt");
    EXPECT_EQ(FolderToShowForSelection(L""), L"");
}

TEST(SearchCueName, NamesFoldersByTheirLastPartAndVirtualOnesByTheirDisplayName) {
    EXPECT_EQ(SearchCueName(L"C:\\Users\\Public", L"Public"), L"Public");
    EXPECT_EQ(SearchCueName(L"C:\\", L"Local Disk (C:)"), L"C:\\");
    EXPECT_EQ(SearchCueName(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"此电脑"), L"此电脑");
    EXPECT_EQ(SearchCueName(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L""),
              L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
}

}  // namespace
