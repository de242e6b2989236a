#include "favbar/fav_bar_layout.h"

#include <algorithm>

#include "ui/bar_geometry.h"
#include "ui/dpi.h"

namespace {

constexpr int kMaxItemDips = 180;
constexpr int kItemIconRoomDips = 16;
constexpr int kItemMarginDips = 8;
constexpr int kEdgeDips = 4;
constexpr int kStarDips = 16;
constexpr int kStarLeftDips = 6;
constexpr int kWrappedRowLeftDips = 24;
constexpr int kItemGapDips = 2;
constexpr int kIconDips = 16;
constexpr int kIconLeftDips = 2;
constexpr int kNameLeftDips = 22;
constexpr int kNameRightDips = 2;

}  // namespace

int FavItemWidth(std::optional<int> nameWidth, int dpi) {
    const int width = nameWidth.value_or(0) + ScaleDip(kItemIconRoomDips, dpi) + ScaleDip(kItemMarginDips, dpi);
    return std::min(width, ScaleDip(kMaxItemDips, dpi));
}

FavBarLayout LayOutFavBar(const RECT& client, int dpi, const std::vector<int>& itemWidths) {
    FavBarLayout layout;
    const int rowHeight = ScaleDip(kFavRowHeightDips, dpi);
    const int inset = ScaleDip(1, dpi);
    const int rowEnd = client.right - ScaleDip(kEdgeDips, dpi);
    int x = client.left + ScaleDip(kEdgeDips, dpi) + ScaleDip(kStarDips, dpi) + ScaleDip(kEdgeDips, dpi);
    int rowTop = client.top;
    bool rowEmpty = true;
    for (const int width : itemWidths) {
        if (!rowEmpty && x + width > rowEnd) {
            x = client.left + ScaleDip(kWrappedRowLeftDips, dpi);
            rowTop += rowHeight;
            ++layout.rowCount;
        }
        layout.itemRects.push_back(RECT{x, rowTop + inset, x + width, rowTop + rowHeight - inset});
        x += width + ScaleDip(kItemGapDips, dpi);
        rowEmpty = false;
    }
    return layout;
}

int FavBarHeight(int width, int dpi, const std::vector<int>& itemWidths) {
    return LayOutFavBar(RECT{0, 0, width, 0}, dpi, itemWidths).rowCount * ScaleDip(kFavRowHeightDips, dpi);
}

int FavItemAt(const std::vector<RECT>& itemRects, POINT client) {
    const int index = TabIndexAtPoint(itemRects, client);
    return index < static_cast<int>(itemRects.size()) ? index : -1;
}

std::optional<RECT> FavInsertionBarRect(const std::vector<RECT>& itemRects, int insertIndex, int dpi) {
    return InsertionBarRect(itemRects, std::min(insertIndex, static_cast<int>(itemRects.size())), dpi);
}

RECT FavStarRect(int dpi) {
    const int left = ScaleDip(kStarLeftDips, dpi);
    const int top = (ScaleDip(kFavRowHeightDips, dpi) - ScaleDip(kStarDips, dpi)) / 2;
    const int size = ScaleDip(kStarDips, dpi);
    return RECT{left, top, left + size, top + size};
}

POINT FavIconOrigin(const RECT& item, int dpi) {
    return POINT{item.left + ScaleDip(kIconLeftDips, dpi),
                 item.top + (item.bottom - item.top - ScaleDip(kIconDips, dpi)) / 2};
}

RECT FavNameRect(const RECT& item, int dpi) {
    return RECT{item.left + ScaleDip(kNameLeftDips, dpi), item.top, item.right - ScaleDip(kNameRightDips, dpi),
                item.bottom};
}
