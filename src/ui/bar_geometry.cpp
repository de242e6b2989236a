#include "ui/bar_geometry.h"

#include <algorithm>
#include <cstdlib>

#include "ui/dpi.h"

namespace {

constexpr int kInsertionBarDips = 2;

}  // namespace

bool MovedBeyond(POINT from, POINT to, int thresholdPx) {
    return std::abs(to.x - from.x) > thresholdPx || std::abs(to.y - from.y) > thresholdPx;
}

int TabIndexAtPoint(const std::vector<RECT>& itemRects, POINT client) {
    const auto found = std::find_if(itemRects.begin(), itemRects.end(),
                                    [client](const RECT& item) { return Contains(item, client); });
    return static_cast<int>(found - itemRects.begin());
}

int InsertionIndexAtPoint(const std::vector<RECT>& itemRects, POINT client) {
    const int index = TabIndexAtPoint(itemRects, client);
    if (index == static_cast<int>(itemRects.size())) return index;
    const RECT& item = itemRects[static_cast<size_t>(index)];
    return client.x < (item.left + item.right) / 2 ? index : index + 1;
}

int DragInsertIndex(const std::vector<RECT>& itemRects, const RECT& client, POINT point) {
    if (!Contains(client, point)) return -1;
    return InsertionIndexAtPoint(itemRects, point);
}

std::optional<RECT> InsertionBarRect(const std::vector<RECT>& itemRects, int insertIndex, int dpi) {
    const int count = static_cast<int>(itemRects.size());
    if (insertIndex < 0 || insertIndex > count || count == 0) return std::nullopt;
    const int width = ScaleDip(kInsertionBarDips, dpi);
    const int offset = ScaleDip(1, dpi);
    if (insertIndex == count) {
        const RECT& last = itemRects.back();
        return RECT{last.right + offset, last.top, last.right + offset + width, last.bottom};
    }
    const RECT& item = itemRects[static_cast<size_t>(insertIndex)];
    return RECT{item.left - offset, item.top, item.left - offset + width, item.bottom};
}

RECT ButtonIconRect(const RECT& button, int sizeDips, bool pressed, int dpi) {
    const int size = ScaleDip(sizeDips, dpi);
    const int push = pressed ? 1 : 0;
    const LONG left = button.left + (button.right - button.left - size) / 2 + push;
    const LONG top = button.top + (button.bottom - button.top - size) / 2 + push;
    return RECT{left, top, left + size, top + size};
}
