#pragma once

#include <windows.h>

#include <functional>

// Smallest heights of the bars, in DIPs.
inline constexpr int kMinTabStripHeight = 27;
inline constexpr int kMinCommandBarHeight = 34;
inline constexpr int kMinFavBarHeight = 28;

struct LayoutInput {
    RECT client{};
    int dpi = 96;
    bool maximized = false;
    bool favBarVisible = false;
    // Each bar's needed height in pixels for a width in pixels.
    std::function<int(int width)> tabStripHeight;
    std::function<int(int width)> commandBarHeight;
    std::function<int(int width)> favBarHeight;
};

// The client area stacked from the top: tab strip, a 3-pixel gap, command bar,
// favourites bar (empty when hidden) and the active panel filling the rest.
struct MainLayout {
    RECT tabStrip{};
    RECT commandBar{};
    RECT favBar{};
    RECT panel{};
};

[[nodiscard]] MainLayout ComputeLayout(const LayoutInput& input);
