#include "mainwindow/view_menu.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shobjidl.h>

namespace {

TEST(ViewMenuTest, MarksTheItemForEachModeAndIconSize) {
    const struct {
        int mode;
        int iconSize;
        int marked;
    } cases[] = {
        {FVM_ICON, 96, kViewLargeIcons},       {FVM_ICON, 32, kViewLargeIcons},
        {FVM_ICON, 128, kViewLargeIcons},      {FVM_ICON, 48, kViewMediumIcons},
        {FVM_ICON, 64, kViewMediumIcons},      {FVM_ICON, 256, kViewExtraLargeIcons},
        {FVM_ICON, 512, kViewExtraLargeIcons}, {FVM_SMALLICON, 16, kViewSmallIcons},
        {FVM_LIST, 16, kViewList},             {FVM_DETAILS, 16, kViewDetails},
        {FVM_TILE, 48, kViewTiles},            {FVM_CONTENT, 32, kViewContent},
        {FVM_THUMBSTRIP, 96, 0},               {FVM_THUMBNAIL, 96, 0},
        {FVM_AUTO, 16, 0},
    };
    for (const auto& expected : cases) {
        EXPECT_EQ(MarkedViewModeItem(expected.mode, expected.iconSize), expected.marked)
            << "mode " << expected.mode << " at " << expected.iconSize;
    }
}

TEST(ViewMenuTest, EveryViewModeItemIsMarkedWhenItsModeIsShown) {
    int modeItems = 0;
    for (const ViewMenuItem& item : kViewMenuItems) {
        const std::optional<ViewModeChoice> choice = ViewModeOfItem(item.id);
        if (!choice) continue;
        ++modeItems;
        EXPECT_EQ(MarkedViewModeItem(choice->mode, choice->iconSize), item.id);
        // The marks form one radio group by id.
        EXPECT_GE(item.id, kFirstViewModeItem);
        EXPECT_LE(item.id, kLastViewModeItem);
    }
    EXPECT_EQ(modeItems, 8);
    EXPECT_FALSE(ViewModeOfItem(kViewHiddenItems));
    EXPECT_FALSE(ViewModeOfItem(0));
}

}  // namespace
