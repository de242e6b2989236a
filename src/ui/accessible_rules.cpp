#include "ui/accessible_rules.h"

#include <oleacc.h>

long AccessibleChildAt(const std::vector<RECT>& childRects, POINT point) {
    for (size_t i = 0; i < childRects.size(); ++i) {
        if (PtInRect(&childRects[i], point)) return static_cast<long>(i) + 1;
    }
    return 0;
}

long AccessibleNavigate(long count, long start, long direction) {
    if (count <= 0 || start < 0 || start > count) return 0;
    if (start == CHILDID_SELF) {
        if (direction == NAVDIR_FIRSTCHILD) return 1;
        if (direction == NAVDIR_LASTCHILD) return count;
        return 0;
    }
    switch (direction) {
    case NAVDIR_NEXT:
    case NAVDIR_RIGHT:
        return start < count ? start + 1 : 0;
    case NAVDIR_PREVIOUS:
    case NAVDIR_LEFT:
        return start > 1 ? start - 1 : 0;
    default:
        return 0;
    }
}

std::vector<DWORD> ActiveItemEvents(bool stripHasFocus) {
    if (stripHasFocus) return {EVENT_OBJECT_SELECTION, EVENT_OBJECT_FOCUS};
    return {EVENT_OBJECT_SELECTION};
}
