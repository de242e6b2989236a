#include "input/wheel_notches.h"

#include <gtest/gtest.h>

namespace {

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
