#include "mainwindow/view_menu.h"

#include <shobjidl.h>

std::optional<ViewModeChoice> ViewModeOfItem(int id) {
    switch (id) {
    case kViewExtraLargeIcons: return ViewModeChoice{FVM_ICON, 256};
    case kViewLargeIcons: return ViewModeChoice{FVM_ICON, 96};
    case kViewMediumIcons: return ViewModeChoice{FVM_ICON, 48};
    case kViewSmallIcons: return ViewModeChoice{FVM_SMALLICON, 16};
    case kViewList: return ViewModeChoice{FVM_LIST, 16};
    case kViewDetails: return ViewModeChoice{FVM_DETAILS, 16};
    case kViewTiles: return ViewModeChoice{FVM_TILE, 16};
    case kViewContent: return ViewModeChoice{FVM_CONTENT, 16};
    default: return std::nullopt;
    }
}

int MarkedViewModeItem(int mode, int iconSize) {
    switch (mode) {
    case FVM_ICON:
        if (iconSize >= 256) return kViewExtraLargeIcons;
        if (iconSize >= 48 && iconSize < 96) return kViewMediumIcons;
        return kViewLargeIcons;
    case FVM_SMALLICON: return kViewSmallIcons;
    case FVM_LIST: return kViewList;
    case FVM_DETAILS: return kViewDetails;
    case FVM_TILE: return kViewTiles;
    case FVM_CONTENT: return kViewContent;
    default: return 0;
    }
}
