#include "ui/drag_ghost.h"

#include <gtest/gtest.h>

namespace {

TEST(DragGhostPlace, StandsOffTheCursorAndFitsTheName) {
    const POINT origin = GhostOrigin(POINT{500, 300}, 96);
    EXPECT_EQ(origin.x, 510);
    EXPECT_EQ(origin.y, 310);
    EXPECT_EQ(GhostOrigin(POINT{-500, 300}, 144).x, -485);
    const SIZE size = GhostSize(123, 28, 144);
    EXPECT_EQ(size.cx, 153);
    EXPECT_EQ(size.cy, 42);
    EXPECT_EQ(GhostSize(0, 26, 96).cy, 26);
}

}  // namespace
