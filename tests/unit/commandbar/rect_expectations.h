#pragma once

#include <windows.h>

#include <gtest/gtest.h>

[[nodiscard]] inline bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

#define EXPECT_RECT(actual, l, t, r, b) EXPECT_PRED2(SameRect, actual, (RECT{l, t, r, b}))
