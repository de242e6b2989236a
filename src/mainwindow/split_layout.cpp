#include "mainwindow/split_layout.h"

#include "settings/tab_splits.h"
#include "ui/dpi.h"

namespace {

constexpr int kDividerWidthDip = 6;
constexpr int kMarkHeightDip = 2;
// A keyboard step moves the divider by a twentieth of the width.
constexpr int kDividerStep = 50;

}  // namespace

SplitRects SplitPanelArea(const RECT& area, int divider, int dpi) {
    const int bar = ScaleDip(kDividerWidthDip, dpi);
    const int mark = ScaleDip(kMarkHeightDip, dpi);
    const int room = area.right - area.left - bar;
    const int leftWidth = room > 0 ? MulDiv(room, BoundedDivider(divider), 1000) : 0;
    const int split = area.left + leftWidth;
    SplitRects rects;
    rects.leftMark = RECT{area.left, area.top, split, area.top + mark};
    rects.left = RECT{area.left, rects.leftMark.bottom, split, area.bottom};
    rects.divider = RECT{split, area.top, split + bar, area.bottom};
    rects.rightMark = RECT{rects.divider.right, area.top, area.right, area.top + mark};
    rects.right = RECT{rects.divider.right, rects.rightMark.bottom, area.right, area.bottom};
    for (RECT* rect : {&rects.left, &rects.right, &rects.leftMark, &rects.rightMark}) {
        if (rect->bottom < rect->top) rect->bottom = rect->top;
        if (rect->right < rect->left) rect->right = rect->left;
    }
    return rects;
}

int DividerAt(const RECT& area, int x, int dpi) {
    const int bar = ScaleDip(kDividerWidthDip, dpi);
    const int room = area.right - area.left - bar;
    if (room <= 0) return kEvenDivider;
    return BoundedDivider(MulDiv(x - area.left - bar / 2, 1000, room));
}

int SteppedDivider(int divider, int step) { return BoundedDivider(BoundedDivider(divider) + step * kDividerStep); }
