#include "tabstrip/tab_strip_input_rules.h"

#include <algorithm>

#include "tabstrip/tab_strip.h"
#include "ui/dpi.h"

namespace {

constexpr int kBelowTabDips = 4;
constexpr int kTopRightCornerDips = 16;

}  // namespace

bool InTabDeadZone(const std::vector<RECT>& tabRects, POINT client, int dpi) {
    const int band = ScaleDip(kBelowTabDips, dpi);
    for (const RECT& tab : tabRects) {
        if (Contains(tab, client)) {
            RECT inner = tab;
            InflateRect(&inner, -1, -1);
            // The tab's own answer stands over its inside, whatever lies above it.
            return !Contains(inner, client);
        }
    }
    return std::any_of(tabRects.begin(), tabRects.end(), [&](const RECT& tab) {
        return client.x >= tab.left && client.x < tab.right && client.y >= tab.bottom && client.y < tab.bottom + band;
    });
}

TabLanding TabLandingAt(bool overThisStrip, const wchar_t* className) {
    if (overThisStrip) return TabLanding::ThisStrip;
    if (className && lstrcmpiW(className, kTabStripClass) == 0) return TabLanding::OtherStrip;
    return TabLanding::Elsewhere;
}

int ResizeHitCode(int cursorScreenY, int windowTop, int dpi) {
    return cursorScreenY < windowTop + ScaleDip(kTopRightCornerDips, dpi) ? HTTOPRIGHT : HTRIGHT;
}

bool TitleIsCut(const RECT& tab, int titleWidth, int dpi) {
    const RECT title = TabTitleRect(tab, dpi);
    const int room = title.right - title.left;
    return room >= 1 && titleWidth > room;
}

std::optional<RECT> HotRect(const TabStripLayout& layout, int hotTab, int hotButton) {
    if (hotTab >= 0 && hotTab < static_cast<int>(layout.tabRects.size())) {
        return layout.tabRects[static_cast<size_t>(hotTab)];
    }
    if (const TabStripButton* button = FindTabStripButton(hotButton)) return layout.*button->rect;
    return std::nullopt;
}

bool TabMenuEventApplies(int event, int tab, int count) {
    if (event == kTabEventCloseOthers) return count > 1;
    if (event == kTabEventCloseToTheRight) return tab + 1 < count;
    return true;
}
