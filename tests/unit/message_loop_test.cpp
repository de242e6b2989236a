#include <gtest/gtest.h>

#include "app/message_loop.h"
#include "app/mouse_hook.h"

namespace {

TEST(KeyboardRouting, EditBoxesAndTheNavigationTreeGetTheirKeysUntouched) {
    EXPECT_TRUE(ClassTakesKeysUntouched(L"Edit"));
    EXPECT_TRUE(ClassTakesKeysUntouched(L"EDIT"));
    EXPECT_TRUE(ClassTakesKeysUntouched(L"systreeview32"));
    EXPECT_FALSE(ClassTakesKeysUntouched(L"SysListView32"));
    EXPECT_FALSE(ClassTakesKeysUntouched(L"DirectUIHWND"));
    EXPECT_FALSE(ClassTakesKeysUntouched(L"Edit2"));
    EXPECT_FALSE(ClassTakesKeysUntouched(L""));
}

TEST(KeyboardRouting, CtrlFSearchesAndF5Refreshes) {
    EXPECT_EQ(ShortcutForKey(WM_KEYDOWN, 'F', true), ViewShortcut::FocusSearchBox);
    EXPECT_EQ(ShortcutForKey(WM_KEYDOWN, 'F', false), ViewShortcut::None);
    EXPECT_EQ(ShortcutForKey(WM_KEYUP, 'F', true), ViewShortcut::None);
    EXPECT_EQ(ShortcutForKey(WM_KEYDOWN, VK_F5, false), ViewShortcut::Refresh);
    EXPECT_EQ(ShortcutForKey(WM_KEYDOWN, VK_F5, true), ViewShortcut::Refresh);
    EXPECT_EQ(ShortcutForKey(WM_SYSKEYDOWN, VK_F5, false), ViewShortcut::None);
    EXPECT_EQ(ShortcutForKey(WM_KEYDOWN, 'G', true), ViewShortcut::None);
}

TEST(TabWheel, WheelAwayFromTheUserStepsToThePreviousTab) {
    EXPECT_EQ(TabStepFromWheel(MAKELONG(0, WHEEL_DELTA)), 1u);
    EXPECT_EQ(TabStepFromWheel(MAKELONG(0, 1)), 1u);
    EXPECT_EQ(TabStepFromWheel(MAKELONG(0, static_cast<WORD>(-WHEEL_DELTA))), 0u);
    EXPECT_EQ(TabStepFromWheel(0), 0u);
}

}  // namespace
