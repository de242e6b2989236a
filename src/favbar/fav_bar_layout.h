#pragma once

#include <windows.h>

#include <optional>
#include <vector>

// Geometry of the favourites bar as functions of plain values: the client
// rectangle, the DPI and the items' widths. Sizes are given in DIPs and scaled
// per DPI; the window code measures, calls these and paints what they return.

// The height of one row of favourites, in DIPs.
inline constexpr int kFavRowHeightDips = 28;

// An item's width for its name's measured width in px, nullopt when the name
// could not be measured: room for the icon and a margin, and never more than
// the widest item the bar shows.
[[nodiscard]] int FavItemWidth(std::optional<int> nameWidth, int dpi);

struct FavBarLayout {
    std::vector<RECT> itemRects;
    int rowCount = 1;
};

// Places the items in rows after the star; an item that does not fit behind
// the one before starts a new row, and one wider than a row has a row of its own.
[[nodiscard]] FavBarLayout LayOutFavBar(const RECT& client, int dpi, const std::vector<int>& itemWidths);

// The height the bar needs at a width: all its rows, and one row without items.
[[nodiscard]] int FavBarHeight(int width, int dpi, const std::vector<int>& itemWidths);

// The item under a client point, -1 when there is none.
[[nodiscard]] int FavItemAt(const std::vector<RECT>& itemRects, POINT client);

// The bar that shows where a dragged item would go; an index beyond the end
// stands behind the last item. Nothing without items or for a negative index.
[[nodiscard]] std::optional<RECT> FavInsertionBarRect(const std::vector<RECT>& itemRects, int insertIndex, int dpi);

// Where the star and an item's parts go.
[[nodiscard]] RECT FavStarRect(int dpi);
[[nodiscard]] POINT FavIconOrigin(const RECT& item, int dpi);
[[nodiscard]] RECT FavNameRect(const RECT& item, int dpi);
