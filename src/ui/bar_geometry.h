#pragma once

#include <windows.h>

#include <optional>
#include <vector>

// Geometry and drag rules that the window's bars share, as functions of plain
// values: the tab strip and the favourites bar both show rows of items that can
// be dragged into a new order, and the tab strip and the command bar both draw
// icon buttons.

// Whether a point lies in a rectangle; as with PtInRect, the right and bottom
// edges lie outside.
[[nodiscard]] inline bool Contains(const RECT& rect, POINT point) { return PtInRect(&rect, point) != FALSE; }

// Whether a point lies more than a threshold in px away from another in x or in y.
[[nodiscard]] bool MovedBeyond(POINT from, POINT to, int thresholdPx);

// The item under a client point, or the number of items when there is none.
[[nodiscard]] int TabIndexAtPoint(const std::vector<RECT>& itemRects, POINT client);

// Where an item dropped at a client point goes: before the item under it when
// the point is left of that item's middle, after it otherwise, and at the end
// when the point is over no item.
[[nodiscard]] int InsertionIndexAtPoint(const std::vector<RECT>& itemRects, POINT client);

// Where the insertion bar stands while an item is dragged over a client point;
// -1 when the point is outside the bar's client rectangle.
[[nodiscard]] int DragInsertIndex(const std::vector<RECT>& itemRects, const RECT& client, POINT point);

// The bar that shows where a dragged item would go; nothing when there is no
// place to show, including an index beyond the end.
[[nodiscard]] std::optional<RECT> InsertionBarRect(const std::vector<RECT>& itemRects, int insertIndex, int dpi);

// A button's icon of a size in DIPs, centred, and nudged down and right while
// the button is held down so that it looks pushed in.
[[nodiscard]] RECT ButtonIconRect(const RECT& button, int sizeDips, bool pressed, int dpi);
