#pragma once

#include <windows.h>

#include <optional>
#include <vector>

// Geometry of the tab strip as functions of plain values: the client rectangle,
// the DPI and the tabs' widths. Sizes are given in DIPs and scaled per DPI; the
// window code measures, calls these and paints what they return.

// The height of one row of tabs, in DIPs.
inline constexpr int kTabRowHeightDips = 27;

// What a client point is over: a tab index (0 or more) or one of these codes.
inline constexpr int kHitNothing = -1;
inline constexpr int kHitPlus = -2;
inline constexpr int kHitStar = -3;
inline constexpr int kHitSettings = -4;
inline constexpr int kHitFolderOptions = -6;
inline constexpr int kHitMinimize = -7;
inline constexpr int kHitMaximize = -8;
inline constexpr int kHitClose = -9;

// The number a button has while the mouse is over it; -1 is none.
inline constexpr int kNoHotButton = -1;
inline constexpr int kHotStar = 0;
inline constexpr int kHotSettings = 1;
inline constexpr int kHotFolderOptions = 2;
inline constexpr int kHotMinimize = 3;
inline constexpr int kHotMaximize = 4;
inline constexpr int kHotClose = 5;
inline constexpr int kHotPlus = 6;

struct TabStripLayout {
    std::vector<RECT> tabRects;
    int rowCount = 1;               // rows of tabs; the "+" may take one more below them
    bool plusOnOwnRow = false;
    RECT plusRect{};
    RECT starRect{};
    RECT settingsRect{};
    RECT folderOptionsRect{};
    RECT minimizeRect{};
    RECT maximizeRect{};
    RECT closeRect{};
};

// One button as the hit test, the hot tracking and the painting see it.
struct TabStripButton {
    int hitCode;
    int hotNumber;
    RECT TabStripLayout::*rect;
    int iconDips;  // the icon is drawn this size, whatever size it was made at
};

// The buttons in the order the hit test tries them.
inline constexpr TabStripButton kTabStripButtons[] = {
    {kHitPlus, kHotPlus, &TabStripLayout::plusRect, 17},
    {kHitStar, kHotStar, &TabStripLayout::starRect, 14},
    {kHitSettings, kHotSettings, &TabStripLayout::settingsRect, 16},
    {kHitFolderOptions, kHotFolderOptions, &TabStripLayout::folderOptionsRect, 16},
    {kHitMinimize, kHotMinimize, &TabStripLayout::minimizeRect, 11},
    {kHitMaximize, kHotMaximize, &TabStripLayout::maximizeRect, 11},
    {kHitClose, kHotClose, &TabStripLayout::closeRect, 11},
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

// The tab under a client point, or the number of tabs when there is none.
[[nodiscard]] int TabIndexAtPoint(const std::vector<RECT>& tabRects, POINT client);

// Where a tab dropped at a client point goes: before the tab under it when the
// point is left of that tab's middle, after it otherwise, and at the end when
// the point is over no tab.
[[nodiscard]] int InsertionIndexAtPoint(const std::vector<RECT>& tabRects, POINT client);

// The bar that shows where a dragged tab would go; nothing when there is no
// place to show, including an index beyond the end.
[[nodiscard]] std::optional<RECT> InsertionBarRect(const std::vector<RECT>& tabRects, int insertIndex, int dpi);

// Where a tab's parts go.
[[nodiscard]] POINT TabIconOrigin(const RECT& tab, int dpi);
[[nodiscard]] RECT TabTitleRect(const RECT& tab, int dpi);
[[nodiscard]] RECT TabCloseMarkRect(const RECT& tab, int dpi);

// A button's icon of a size in DIPs, centred, and nudged down and right while
// the button is held down so that it looks pushed in.
[[nodiscard]] RECT ButtonIconRect(const RECT& button, int sizeDips, bool pressed, int dpi);

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
