#pragma once

#include <windows.h>

#include <array>

// Geometry of the command bar as functions of plain values. Sizes are in DIPs,
// each converted to px on its own, so that a sum of sizes is a sum of rounded terms.

inline constexpr int kCommandButtonCount = 6;
inline constexpr int kBarMarginDips = 4;
inline constexpr int kControlHeightDips = 26;
// The address area's least width, and the gap between it and the search box.
inline constexpr int kMinAddressDips = 80;
inline constexpr int kSearchGapDips = 8;
// The search box is this fraction of the bar's width in px, unscaled.
inline constexpr int kSearchBoxWidthDivisor = 6;

struct CommandBarLayout {
    // The buttons from left to right: back, forward, up, reopen, refresh, options.
    std::array<RECT, kCommandButtonCount> buttons{};
    RECT addressEdit{};
    bool searchBoxShown = false;
    RECT searchBox{};  // empty while the box is hidden
    // Where the address segments are drawn.
    RECT addressRect{};
};

// Places the controls in a client area of width × height px. The address area
// keeps at least 80 DIPs by moving over the buttons, but never left of the bar's
// margin; the search box takes a sixth of the width in px, whatever the DPI.
[[nodiscard]] CommandBarLayout LayOutCommandBar(int width, int height, int dpi, bool searchBoxVisible);

// Where the search box draws its icons in its client area, and the zone that
// clears the box when clicked, which runs from the clear icon's left edge up to
// the search icon. The cue of an empty box ends before the search icon.
struct SearchBoxIcons {
    RECT searchIcon{};
    RECT clearIcon{};
    RECT cue{};
};

[[nodiscard]] SearchBoxIcons PlaceSearchBoxIcons(const RECT& client, int dpi);
[[nodiscard]] bool InClearZone(const SearchBoxIcons& icons, int x);
