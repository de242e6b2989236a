#include "panel/view_input_rules.h"

#include <commctrl.h>

#include <cstdlib>

bool IsSecondClick(DWORD lastTime, POINT lastPoint, DWORD time, POINT point, const DoubleClickLimits& limits) {
    if (lastTime == 0 || time - lastTime > limits.time) return false;
    return std::abs(point.x - lastPoint.x) <= limits.width && std::abs(point.y - lastPoint.y) <= limits.height;
}

int MeasuredMargin(int position, int current) {
    constexpr int kLargestMargin = 20;
    return position >= 0 && position <= kLargestMargin ? position : current;
}

int UsableNavInset(int measured) { return measured >= 1 && measured <= 299 ? measured : 0; }

RECT NavLayoutTarget(int navInset, int marginLeft, int marginTop, const RECT& parentClient) {
    const int top = marginTop - navInset;
    const int width = parentClient.right - parentClient.left - 2 * marginLeft;
    const int height = parentClient.bottom - parentClient.top + navInset - 2 * marginTop;
    return RECT{marginLeft, top, marginLeft + width, top + height};
}

POINT KeyboardMenuPoint(const RECT& item, const RECT& view) {
    RECT visible{};
    if (!IntersectRect(&visible, &item, &view)) return POINT{view.left, view.top};
    return POINT{visible.left + (visible.right - visible.left) / 2, visible.top + (visible.bottom - visible.top) / 2};
}

bool IsBrowsableFolder(SFGAOF attributes) { return (attributes & SFGAO_FOLDER) && !(attributes & SFGAO_STREAM); }

UINT ItemMenuFlags(bool shiftDown) {
    return CMF_EXPLORE | CMF_CANRENAME | CMF_ITEMMENU | (shiftDown ? CMF_EXTENDEDVERBS : 0);
}

std::vector<ItemMenuEntry> ItemMenuEntries(bool otherPaneOffered, size_t itemCount, bool oneFolder) {
    std::vector<ItemMenuEntry> entries;
    if (itemCount == 0) return entries;
    if (otherPaneOffered) entries = {ItemMenuEntry::CopyToOtherPane, ItemMenuEntry::MoveToOtherPane};
    if (oneFolder && itemCount == 1) {
        entries.push_back(ItemMenuEntry::OpenInNewTab);
        if (otherPaneOffered) entries.push_back(ItemMenuEntry::OpenInOtherPane);
    }
    return entries;
}

bool PositionsLocateItems(UINT viewMode) {
    return viewMode == FVM_ICON || viewMode == FVM_SMALLICON || viewMode == FVM_THUMBNAIL || viewMode == FVM_TILE;
}

bool OnTreeRow(UINT hitFlags) {
    return (hitFlags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT)) != 0;
}
