#include "mainwindow/layout.h"

#include <algorithm>

#include "ui/dpi.h"

namespace {

// Unscaled: a hairline between the strip and the command bar at every DPI.
constexpr int kStripGap = 3;
constexpr int kFrameInset = 2;

int NeededHeight(const std::function<int(int)>& measure, int width, int minimumDip, int dpi) {
    const int minimum = ScaleDip(minimumDip, dpi);
    return measure ? std::max(measure(width), minimum) : minimum;
}

RECT Band(const RECT& area, int top, int bottom) { return RECT{area.left, top, area.right, bottom}; }

}  // namespace

MainLayout ComputeLayout(const LayoutInput& input) {
    RECT area = input.client;
    // A maximised window's edges are the screen's; elsewhere the frame keeps a
    // thin border free for resizing and moving.
    const int inset = input.maximized ? 0 : ScaleDip(kFrameInset, input.dpi);
    InflateRect(&area, -inset, -inset);
    const int width = area.right - area.left;

    const int commandBar = NeededHeight(input.commandBarHeight, width, kMinCommandBarHeight, input.dpi);
    const int tabStrip = NeededHeight(input.tabStripHeight, width, kMinTabStripHeight, input.dpi);
    const int favBar = input.favBarVisible ? NeededHeight(input.favBarHeight, width, kMinFavBarHeight, input.dpi) : 0;

    MainLayout layout;
    const int commandTop = area.top + tabStrip + kStripGap;
    const int favTop = commandTop + commandBar;
    const int panelTop = favTop + favBar;
    layout.tabStrip = Band(area, area.top, area.top + tabStrip);
    layout.commandBar = Band(area, commandTop, favTop);
    layout.favBar = Band(area, favTop, panelTop);
    layout.panel = Band(area, panelTop, area.bottom);
    return layout;
}
