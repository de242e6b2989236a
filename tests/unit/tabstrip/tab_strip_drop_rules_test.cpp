#include "tabstrip/tab_strip_drop_rules.h"

#include <gtest/gtest.h>
#include <oleidl.h>

#include "tabstrip/tab_strip_buttons.h"
#include "tabstrip/tab_strip_layout.h"

namespace {

TEST(DropPlace, IsTheTabUnderTheCursorNewTabsOverThePlusOrTheEmptyStripAndNothingOverAButton) {
    EXPECT_EQ(DropPlaceForHit(0), DropPlace::Tab);
    EXPECT_EQ(DropPlaceForHit(7), DropPlace::Tab);
    EXPECT_EQ(DropPlaceForHit(kHitPlus), DropPlace::NewTabs);
    EXPECT_EQ(DropPlaceForHit(kHitNothing), DropPlace::NewTabs);
    for (const TabStripButton& button : kTabStripButtons) {
        if (button.hitCode == kHitPlus) continue;
        EXPECT_EQ(DropPlaceForHit(button.hitCode), DropPlace::Nowhere) << button.hitCode;
    }
}

// Only folders open as tabs, a zip file (a folder to the shell, and a stream)
// not; they show a link, else a copy, and nothing without a folder.
TEST(DroppedFolders, OpenAsTabsUnlessTheyAreFilesAndShowALinkElseACopy) {
    EXPECT_TRUE(OpensAsTab(SFGAO_FOLDER | SFGAO_FILESYSTEM));
    EXPECT_FALSE(OpensAsTab(SFGAO_FOLDER | SFGAO_STREAM));
    EXPECT_FALSE(OpensAsTab(SFGAO_FILESYSTEM));
    const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(OpenAsTabsEffect(true, all), static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_EQ(OpenAsTabsEffect(true, DROPEFFECT_COPY | DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(OpenAsTabsEffect(true, DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(OpenAsTabsEffect(false, all), static_cast<DWORD>(DROPEFFECT_NONE));
}

}  // namespace
