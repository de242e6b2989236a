#include <gtest/gtest.h>

#include "app/message_loop.h"
#include "app/mouse_hook.h"

namespace {

TEST(KeyboardRouting, EditBoxesAndTheNavigationTreeAreToldApart) {
    EXPECT_EQ(KeyFocusOfClass(L"Edit"), KeyFocus::TextBox);
    EXPECT_EQ(KeyFocusOfClass(L"EDIT"), KeyFocus::TextBox);
    EXPECT_EQ(KeyFocusOfClass(L"systreeview32"), KeyFocus::Tree);
    EXPECT_EQ(KeyFocusOfClass(L"SysListView32"), KeyFocus::Elsewhere);
    EXPECT_EQ(KeyFocusOfClass(L"DirectUIHWND"), KeyFocus::Elsewhere);
    EXPECT_EQ(KeyFocusOfClass(L"Edit2"), KeyFocus::Elsewhere);
    EXPECT_EQ(KeyFocusOfClass(L""), KeyFocus::Elsewhere);
}

TEST(TabWheel, WheelAwayFromTheUserStepsToThePreviousTab) {
    EXPECT_EQ(TabStepFromWheel(MAKELONG(0, WHEEL_DELTA)), 1u);
    EXPECT_EQ(TabStepFromWheel(MAKELONG(0, 1)), 1u);
    EXPECT_EQ(TabStepFromWheel(MAKELONG(0, static_cast<WORD>(-WHEEL_DELTA))), 0u);
    EXPECT_EQ(TabStepFromWheel(0), 0u);
}

}  // namespace
