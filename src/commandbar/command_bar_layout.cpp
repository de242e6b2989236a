#include "commandbar/command_bar_layout.h"

#include <algorithm>

#include "ui/dpi.h"

namespace {

constexpr int kButtonWidthDips = 28;
// The space left of each button; the options button stands a little apart.
constexpr std::array<int, kCommandButtonCount> kGapBeforeButtonDips{kBarMarginDips, 2, 2, 2, 2, 4};
constexpr int kAddressGapDips = 6;

constexpr int kSearchIconDips = 14;
constexpr int kSearchIconRightDips = 5;
constexpr int kIconGapDips = 4;
constexpr int kCueLeftDips = 4;

}  // namespace

CommandBarLayout LayOutCommandBar(int width, int height, int dpi, bool searchBoxVisible) {
    const auto dip = [dpi](int value) { return ScaleDip(value, dpi); };
    CommandBarLayout layout;
    const int top = dip(kBarMarginDips);
    const int controlBottom = top + dip(kControlHeightDips);

    int x = 0;
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        x += dip(kGapBeforeButtonDips[i]);
        layout.buttons[i] = RECT{x, top, x + dip(kButtonWidthDips), controlBottom};
        x = layout.buttons[i].right;
    }
    int start = x + dip(kAddressGapDips);
    const int usableRight = width - dip(kBarMarginDips);

    // The right edge the address edit may reach and that of the area behind it.
    int editRight = usableRight;
    int areaRight = usableRight;
    if (searchBoxVisible) {
        const int searchWidth = width / kSearchBoxWidthDivisor;
        const int searchLeft = usableRight - searchWidth;
        editRight = searchLeft - dip(kSearchGapDips);
        areaRight = searchLeft - dip(kBarMarginDips);
        layout.searchBoxShown = true;
        layout.searchBox = RECT{searchLeft, top, searchLeft + searchWidth, controlBottom};
    }
    if (editRight < start + dip(kMinAddressDips)) start = editRight - dip(kMinAddressDips);
    const int left = std::max(start, dip(kBarMarginDips));

    layout.addressEdit = RECT{left, top, std::max(left, editRight), controlBottom};
    layout.addressRect = RECT{left, top, areaRight, height - dip(kBarMarginDips)};
    return layout;
}

SearchBoxIcons PlaceSearchBoxIcons(const RECT& client, int dpi) {
    const int size = ScaleDip(kSearchIconDips, dpi);
    const int top = client.top + (client.bottom - client.top - size) / 2;
    const int searchLeft = client.right - ScaleDip(kSearchIconRightDips, dpi) - size;
    const int clearLeft = searchLeft - size - ScaleDip(kIconGapDips, dpi);
    const int cueLeft = client.left + ScaleDip(kCueLeftDips, dpi);
    return SearchBoxIcons{RECT{searchLeft, top, searchLeft + size, top + size},
                          RECT{clearLeft, top, clearLeft + size, top + size},
                          RECT{cueLeft, client.top, std::max(cueLeft, searchLeft - ScaleDip(kIconGapDips, dpi)),
                               client.bottom}};
}

bool InClearZone(const SearchBoxIcons& icons, int x) { return x >= icons.clearIcon.left && x < icons.searchIcon.left; }
