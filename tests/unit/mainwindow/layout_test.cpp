#include "mainwindow/layout.h"

#include <gtest/gtest.h>

// Found by argument lookup, so they live beside RECT in the global namespace.
static bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static void PrintTo(const RECT& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace {

// Bars that need less than their minimum height at any width.
LayoutInput SmallBars(RECT client, int dpi) {
    LayoutInput input;
    input.client = client;
    input.dpi = dpi;
    input.tabStripHeight = [](int) { return 5; };
    input.commandBarHeight = [](int) { return 5; };
    input.favBarHeight = [](int) { return 5; };
    return input;
}

TEST(ComputeLayout, NormalWindowAt96DpiStacksBarsAtTheirMinimumsInsideTheFrame) {
    const MainLayout layout = ComputeLayout(SmallBars(RECT{0, 0, 1000, 700}, 96));
    EXPECT_EQ(layout.tabStrip, (RECT{2, 2, 998, 29}));
    EXPECT_EQ(layout.commandBar, (RECT{2, 32, 998, 66}));
    EXPECT_EQ(layout.favBar, (RECT{2, 66, 998, 66}));
    EXPECT_EQ(layout.panel, (RECT{2, 66, 998, 698}));
}

TEST(ComputeLayout, MaximisedWindowHasNoInset) {
    LayoutInput input = SmallBars(RECT{0, 0, 1000, 700}, 96);
    input.maximized = true;
    const MainLayout layout = ComputeLayout(input);
    EXPECT_EQ(layout.tabStrip, (RECT{0, 0, 1000, 27}));
    EXPECT_EQ(layout.commandBar, (RECT{0, 30, 1000, 64}));
    EXPECT_EQ(layout.panel, (RECT{0, 64, 1000, 700}));
}

TEST(ComputeLayout, At192DpiMinimumsAndInsetDoubleButTheGapStaysThreePixels) {
    LayoutInput input = SmallBars(RECT{0, 0, 2000, 1400}, 192);
    input.favBarVisible = true;
    const MainLayout layout = ComputeLayout(input);
    EXPECT_EQ(layout.tabStrip, (RECT{4, 4, 1996, 58}));
    EXPECT_EQ(layout.commandBar, (RECT{4, 61, 1996, 129}));
    EXPECT_EQ(layout.favBar, (RECT{4, 129, 1996, 185}));
    EXPECT_EQ(layout.panel, (RECT{4, 185, 1996, 1396}));
}

TEST(ComputeLayout, FavouritesBarSitsBetweenCommandBarAndPanelOnlyWhenShown) {
    LayoutInput input = SmallBars(RECT{0, 0, 1000, 700}, 96);
    input.favBarVisible = true;
    MainLayout layout = ComputeLayout(input);
    EXPECT_EQ(layout.favBar, (RECT{2, 66, 998, 94}));
    EXPECT_EQ(layout.panel.top, 94);

    input.favBarVisible = false;
    layout = ComputeLayout(input);
    EXPECT_EQ(layout.favBar.bottom - layout.favBar.top, 0);
    EXPECT_EQ(layout.panel.top, layout.commandBar.bottom);
}

TEST(ComputeLayout, TallerBarsGetWhatTheyAskForAtTheInnerWidth) {
    LayoutInput input = SmallBars(RECT{0, 0, 1000, 700}, 96);
    int measuredWidth = 0;
    input.tabStripHeight = [&measuredWidth](int width) {
        measuredWidth = width;
        return 54;
    };
    input.commandBarHeight = [](int) { return 50; };
    const MainLayout layout = ComputeLayout(input);
    EXPECT_EQ(measuredWidth, 996);
    EXPECT_EQ(layout.tabStrip, (RECT{2, 2, 998, 56}));
    EXPECT_EQ(layout.commandBar, (RECT{2, 59, 998, 109}));
    EXPECT_EQ(layout.panel.top, 109);
}

TEST(ComputeLayout, MissingMeasuresFallBackToMinimums) {
    LayoutInput input;
    input.client = RECT{0, 0, 800, 600};
    input.maximized = true;
    const MainLayout layout = ComputeLayout(input);
    EXPECT_EQ(layout.tabStrip.bottom, 27);
    EXPECT_EQ(layout.commandBar.bottom, 64);
}

}  // namespace
