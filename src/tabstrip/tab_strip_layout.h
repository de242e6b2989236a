#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "ui/bar_geometry.h"

// Geometry of the tab strip as functions of plain values: the client rectangle,
// the DPI and the tabs' widths. Sizes are given in DIPs and scaled per DPI; the
// window code measures, calls these and paints what they return.

// The height of one row of tabs, in DIPs.
inline constexpr int kTabRowHeightDips = 27;

// What a client point is over: a tab index (0 or more), a button's hit code
// (tab_strip_buttons.h), or nothing.
inline constexpr int kHitNothing = -1;

struct TabStripLayout {
    std::vector<RECT> tabRects;
    int rowCount = 1;               // rows of tabs; the "+" may take one more below them
    bool plusOnOwnRow = false;
    // The buttons' places, each named by its row of kTabStripButtons.
    RECT plusRect{};
    RECT starRect{};
    RECT settingsRect{};
    RECT folderOptionsRect{};
    RECT minimizeRect{};
    RECT maximizeRect{};
    RECT closeRect{};
};

// A tab's width for its title's measured width in px; nullopt when the title
// could not be measured.
[[nodiscard]] int TabWidth(std::optional<int> titleWidth, int dpi);

// Places the tabs, in rows, and the buttons in the client rectangle.
[[nodiscard]] TabStripLayout LayOutTabStrip(const RECT& client, int dpi, const std::vector<int>& tabWidths);

// The height the strip needs at a width: every row of tabs, and the "+" row
// when the "+" does not fit behind the last tab.
[[nodiscard]] int TabStripHeight(int width, int dpi, const std::vector<int>& tabWidths);

struct TabStripHit {
    int code = kHitNothing;
    bool onCloseZone = false;  // the tab's close mark, which closes it on a press
};

[[nodiscard]] TabStripHit HitTestTabStrip(const TabStripLayout& layout, POINT client, int dpi);

// Where a tab's parts go.
[[nodiscard]] POINT TabIconOrigin(const RECT& tab, int dpi);
[[nodiscard]] RECT TabTitleRect(const RECT& tab, int dpi);
[[nodiscard]] RECT TabCloseMarkRect(const RECT& tab, int dpi);

// The busy spinner of a tab: two arcs of a circle from the start angle, a third
// of the circle each, in the order they are drawn counter-clockwise.
struct SpinnerArcs {
    RECT bounds{};   // the circle's bounding square
    POINT start{};   // at the angle
    POINT middle{};  // 120 degrees further
    POINT end{};     // 240 degrees further
};

[[nodiscard]] SpinnerArcs SpinnerGeometry(const RECT& tab, int dpi, int angleDegrees);

// A point on a circle at an angle counted counter-clockwise from the positive x
// axis, with y growing downwards as on the screen.
[[nodiscard]] POINT PointOnCircle(POINT centre, int radius, int angleDegrees);
