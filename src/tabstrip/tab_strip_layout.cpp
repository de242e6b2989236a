#include "tabstrip/tab_strip_layout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tabstrip/tab_strip_buttons.h"
#include "ui/dpi.h"

namespace {

constexpr int kUnmeasuredTitleDips = 80;
constexpr int kTabPaddingDips = 70;
constexpr int kMinTabDips = 100;
constexpr int kMaxTabDips = 250;
constexpr int kTabsLeftDips = 2;

// How far leftwards from the right edge the buttons there reach.
constexpr int ButtonsAtTheRightDips() {
    int widest = 0;
    for (const TabStripButton& button : kTabStripButtons) widest = std::max(widest, button.place.left);
    return widest;
}

// Rows of tabs stop one DIP before the buttons at the right and keep a margin,
// wider on the first row, which the buttons share.
constexpr int kButtonClusterDips = ButtonsAtTheRightDips() + 1;
constexpr int kFirstRowMarginDips = 4;
constexpr int kLaterRowMarginDips = 2;
constexpr int kPlusGapDips = 4;
constexpr int kButtonInsetDips = 3;
constexpr int kSmallButtonDips = 20;
constexpr int kCloseZoneDips = 22;
constexpr int kCloseMarkDips = 20;
constexpr int kIconDips = 16;
constexpr int kIconLeftDips = 5;
constexpr int kTitleLeftDips = 26;
constexpr int kTitleRightDips = 44;
constexpr int kSpinnerCentreDips = 13;
constexpr int kPinnedIconOnlyDips = 34;
constexpr int kPinnedNameGapDips = 4;
constexpr int kPinnedNameDips = 48;
constexpr size_t kPinnedNameChars = 4;
constexpr int kColourBandDips = 3;
constexpr int kSpinnerRadiusDips = 6;

// A rectangle between offsets counted leftwards from the right edge.
RECT FromRight(LONG right, int leftDips, int rightDips, LONG top, LONG bottom, int dpi) {
    return RECT{right - ScaleDip(leftDips, dpi), top, right - ScaleDip(rightDips, dpi), bottom};
}

// The "+" among the tabs is placed by PlacePlus, once the tabs are.
void PlaceButtons(const RECT& client, int dpi, TabStripLayout& layout) {
    const int rowHeight = ScaleDip(kTabRowHeightDips, dpi);
    const LONG smallTop = client.top + (rowHeight - ScaleDip(kSmallButtonDips, dpi)) / 2;
    const LONG smallBottom = smallTop + ScaleDip(kSmallButtonDips, dpi);
    const LONG tallTop = client.top + ScaleDip(kButtonInsetDips, dpi);
    const LONG tallBottom = client.top + rowHeight - ScaleDip(kButtonInsetDips, dpi);
    for (const TabStripButton& button : kTabStripButtons) {
        if (button.shape == ButtonShape::AmongTabs) continue;
        const bool tall = button.shape == ButtonShape::Tall;
        layout.*button.rect = FromRight(client.right, button.place.left, button.place.right,
                                        tall ? tallTop : smallTop, tall ? tallBottom : smallBottom, dpi);
    }
}

void PlacePlus(const RECT& client, int dpi, TabStripLayout& layout) {
    const int rowHeight = ScaleDip(kTabRowHeightDips, dpi);
    const int inset = ScaleDip(kButtonInsetDips, dpi);
    const int width = rowHeight - ScaleDip(6, dpi);
    const LONG left = client.left + ScaleDip(kPlusGapDips, dpi);
    if (layout.tabRects.empty()) {
        layout.plusRect = RECT{left, client.top + inset, left + width, client.bottom - inset};
        return;
    }
    const RECT& last = layout.tabRects.back();
    const LONG behindLast = last.right + ScaleDip(kPlusGapDips, dpi);
    layout.plusOnOwnRow = layout.starRect.left - ScaleDip(1, dpi) < behindLast + width;
    if (layout.plusOnOwnRow) {
        const LONG top = client.top + rowHeight * layout.rowCount;
        layout.plusRect = RECT{left, top + inset, left + width, top + rowHeight - inset};
    } else {
        layout.plusRect = RECT{behindLast, last.top + inset, behindLast + width, last.bottom - inset};
    }
}

// Truncates toward zero as the drawing expects, without letting the error of
// sin and cos turn a whole number into the one below it.
LONG TowardZero(double value) {
    constexpr double kTolerance = 1e-9;
    return static_cast<LONG>(value + (value >= 0 ? kTolerance : -kTolerance));
}

}  // namespace

int TabWidth(std::optional<int> titleWidth, int dpi) {
    const int title = titleWidth ? *titleWidth : ScaleDip(kUnmeasuredTitleDips, dpi);
    return std::clamp(title + ScaleDip(kTabPaddingDips, dpi), ScaleDip(kMinTabDips, dpi),
                      ScaleDip(kMaxTabDips, dpi));
}

int PinnedTabWidth(std::optional<int> shortNameWidth, int dpi) {
    const int iconOnly = ScaleDip(kPinnedIconOnlyDips, dpi);
    if (!shortNameWidth) return iconOnly;
    return iconOnly + std::min(*shortNameWidth, ScaleDip(kPinnedNameDips, dpi)) + ScaleDip(kPinnedNameGapDips, dpi);
}

std::wstring PinnedShortName(const std::wstring& title) {
    size_t end = std::min(title.size(), kPinnedNameChars);
    // A character of two code units stays whole.
    if (end < title.size() && IS_HIGH_SURROGATE(title[end - 1])) ++end;
    return title.substr(0, end);
}

bool PinnedIconIsAmbiguous(const std::vector<int>& icons, int pinnedCount, int index) {
    if (index < 0 || index >= pinnedCount || index >= static_cast<int>(icons.size())) return false;
    const int last = std::min(pinnedCount, static_cast<int>(icons.size()));
    for (int other = 0; other < last; ++other) {
        if (other != index && icons[static_cast<size_t>(other)] == icons[static_cast<size_t>(index)]) return true;
    }
    return false;
}

TabStripLayout LayOutTabStrip(const RECT& client, int dpi, const std::vector<int>& tabWidths, int pinnedCount) {
    TabStripLayout layout;
    layout.pinnedCount = pinnedCount;
    const int rowHeight = ScaleDip(kTabRowHeightDips, dpi);
    const int available = client.right - client.left - ScaleDip(kButtonClusterDips, dpi);
    const int firstRowLimit = available - ScaleDip(kFirstRowMarginDips, dpi);
    const int laterRowLimit = available - ScaleDip(kLaterRowMarginDips, dpi);
    const LONG rowStart = client.left + ScaleDip(kTabsLeftDips, dpi);

    LONG x = rowStart;
    LONG y = client.top;
    int rowWidth = 0;
    int tabsInRow = 0;
    for (int width : tabWidths) {
        const int limit = layout.rowCount == 1 ? firstRowLimit : laterRowLimit;
        // A tab wider than a whole row still gets a row, alone.
        if (tabsInRow > 0 && rowWidth + width > limit) {
            ++layout.rowCount;
            x = rowStart;
            y += rowHeight;
            rowWidth = 0;
            tabsInRow = 0;
        }
        layout.tabRects.push_back(RECT{x, y, x + width, y + rowHeight});
        x += width;
        rowWidth += width;
        ++tabsInRow;
    }
    PlaceButtons(client, dpi, layout);
    PlacePlus(client, dpi, layout);
    return layout;
}

int TabStripHeight(int width, int dpi, const std::vector<int>& tabWidths) {
    // Derived from the layout itself, so that the height always has room for
    // the row the "+" is placed on.
    const int rowHeight = ScaleDip(kTabRowHeightDips, dpi);
    const TabStripLayout layout = LayOutTabStrip(RECT{0, 0, width, rowHeight}, dpi, tabWidths);
    return rowHeight * (layout.rowCount + (layout.plusOnOwnRow ? 1 : 0));
}

TabStripHit HitTestTabStrip(const TabStripLayout& layout, POINT client, int dpi) {
    for (size_t i = 0; i < layout.tabRects.size(); ++i) {
        RECT inner = layout.tabRects[i];
        InflateRect(&inner, -1, -1);
        if (!Contains(inner, client)) continue;
        const bool pinned = static_cast<int>(i) < layout.pinnedCount;
        return TabStripHit{static_cast<int>(i), !pinned && client.x >= inner.right - ScaleDip(kCloseZoneDips, dpi)};
    }
    for (const TabStripButton& button : kTabStripButtons) {
        if (Contains(layout.*button.rect, client)) return TabStripHit{button.hitCode, false};
    }
    return TabStripHit{};
}

POINT TabIconOrigin(const RECT& tab, int dpi) {
    return POINT{tab.left + ScaleDip(kIconLeftDips, dpi),
                 tab.top + (tab.bottom - tab.top - ScaleDip(kIconDips, dpi)) / 2};
}

RECT TabTitleRect(const RECT& tab, int dpi) {
    return RECT{tab.left + ScaleDip(kTitleLeftDips, dpi), tab.top, tab.right - ScaleDip(kTitleRightDips, dpi),
                tab.bottom};
}

RECT TabCloseMarkRect(const RECT& tab, int dpi) {
    return RECT{tab.right - ScaleDip(kCloseMarkDips, dpi), tab.top, tab.right, tab.bottom};
}

POINT PinnedIconOrigin(const RECT& tab, bool withName, int dpi) {
    const POINT left = TabIconOrigin(tab, dpi);
    if (withName) return POINT{tab.left + ScaleDip(kPinnedNameGapDips * 2, dpi), left.y};
    return POINT{tab.left + (tab.right - tab.left - ScaleDip(kIconDips, dpi)) / 2, left.y};
}

RECT PinnedNameRect(const RECT& tab, int dpi) {
    return RECT{tab.left + ScaleDip(kPinnedNameGapDips * 3 + kIconDips, dpi), tab.top,
                tab.right - ScaleDip(kPinnedNameGapDips, dpi), tab.bottom};
}

RECT TabColourBand(const RECT& tab, int dpi) {
    return RECT{tab.left + 1, tab.bottom - 1 - ScaleDip(kColourBandDips, dpi), tab.right - 1, tab.bottom - 1};
}

POINT PointOnCircle(POINT centre, int radius, int angleDegrees) {
    const double radians = angleDegrees * std::numbers::pi / 180.0;
    return POINT{TowardZero(centre.x + radius * std::cos(radians)),
                 TowardZero(centre.y - radius * std::sin(radians))};
}

SpinnerArcs SpinnerGeometry(const RECT& tab, int dpi, int angleDegrees) {
    const POINT iconOrigin = TabIconOrigin(tab, dpi);
    const int halfIcon = ScaleDip(kIconDips / 2, dpi);
    const POINT centre{tab.left + ScaleDip(kSpinnerCentreDips, dpi), iconOrigin.y + halfIcon};
    const int radius = ScaleDip(kSpinnerRadiusDips, dpi);
    SpinnerArcs arcs;
    arcs.bounds = RECT{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
    arcs.start = PointOnCircle(centre, radius, angleDegrees);
    arcs.middle = PointOnCircle(centre, radius, angleDegrees + 120);
    arcs.end = PointOnCircle(centre, radius, angleDegrees + 240);
    return arcs;
}
