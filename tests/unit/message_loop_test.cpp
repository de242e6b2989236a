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

TEST(TabWheel, StepsOncePerWholeNotchHoweverTheTurnArrives) {
    WheelNotches wheel;
    EXPECT_EQ(wheel.Add(WHEEL_DELTA), 1) << "away from the user: the previous tab";
    EXPECT_EQ(wheel.Add(-WHEEL_DELTA), -1);
    EXPECT_EQ(wheel.Add(3 * WHEEL_DELTA), 3) << "a free-spinning wheel's burst";
    // A precision touchpad's small parts add up to one step, with the rest kept.
    int steps = 0;
    for (int part = 0; part < 10; ++part) steps += wheel.Add(30);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(wheel.Add(59), 0);
    EXPECT_EQ(wheel.Add(1), 1);
    // Turning back starts afresh: what was kept the other way is not paid back first.
    EXPECT_EQ(wheel.Add(100), 0);
    EXPECT_EQ(wheel.Add(-WHEEL_DELTA), -1);
    EXPECT_EQ(wheel.Add(0), 0);
}

}  // namespace
