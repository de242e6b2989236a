#pragma once

#include <windows.h>

#include <optional>
#include <string>
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
    int pinnedCount = 0;            // the first tabs, which are pinned: narrow and without a close mark
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

// A pinned tab's width: its icon alone, or beside a short name of that
// measured width, which never makes it wide.
[[nodiscard]] int PinnedTabWidth(std::optional<int> shortNameWidth, int dpi);

// What a pinned tab shows of its title beside its icon, when the icon alone
// would not tell it from another pinned tab: the first few characters.
[[nodiscard]] std::wstring PinnedShortName(const std::wstring& title);

// Whether the pinned tab at index shares its icon with another pinned tab, and
// so needs its short name. icons: every tab's; -1 the plain folder's.
[[nodiscard]] bool PinnedIconIsAmbiguous(const std::vector<int>& icons, int pinnedCount, int index);

// Places the tabs, in rows, and the buttons in the client rectangle; the first
// pinnedCount tabs are pinned.
[[nodiscard]] TabStripLayout LayOutTabStrip(const RECT& client, int dpi, const std::vector<int>& tabWidths,
                                            int pinnedCount = 0);

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
// A pinned tab's icon stands alone in its middle, or at its left before its short name.
[[nodiscard]] POINT PinnedIconOrigin(const RECT& tab, bool withName, int dpi);
[[nodiscard]] RECT PinnedNameRect(const RECT& tab, int dpi);
// The band along a coloured tab's bottom edge, inside its outline.
[[nodiscard]] RECT TabColourBand(const RECT& tab, int dpi);

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
