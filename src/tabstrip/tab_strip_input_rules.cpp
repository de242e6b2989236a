#include "tabstrip/tab_strip_input_rules.h"

#include <algorithm>
#include <iterator>

#include "tabstrip/tab_strip.h"
#include "ui/dpi.h"
#include "ui/tab_colours.h"

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

bool TabMenuEventApplies(int event, int tab, const std::vector<bool>& pinned) {
    const int count = static_cast<int>(pinned.size());
    const auto closable = [&](int index) { return index != tab && !pinned[static_cast<size_t>(index)]; };
    int first = 0;
    if (event == kTabEventCloseToTheRight) {
        first = tab + 1;
    } else if (event != kTabEventCloseOthers) {
        return true;
    }
    for (int index = std::max(first, 0); index < count; ++index) {
        if (closable(index)) return true;
    }
    return false;
}

int InsertIndexAmong(int insertIndex, bool pinned, int pinnedCount, int count) {
    if (insertIndex < 0) return insertIndex;
    return pinned ? std::clamp(insertIndex, 0, pinnedCount) : std::clamp(insertIndex, pinnedCount, count);
}

std::wstring TabDescription(bool pinned, int colour, const std::wstring& folder) {
    std::wstring description;
    const auto add = [&](const std::wstring& part) {
        if (part.empty()) return;
        if (!description.empty()) description += L"，";
        description += part;
    };
    if (pinned) add(L"已固定");
    if (colour >= 1 && colour <= kTabColourCount) add(TabColourName(colour));
    add(folder);
    return description;
}

std::wstring TabColourMenuText(int colour) {
    // 无 (none), then each colour's English initial; grey takes Y, as green has G.
    constexpr wchar_t kKeys[] = L"NROGBPY";
    static_assert(std::size(kKeys) == kTabColourCount + 2, "a key for none and for each colour");
    const int row = colour >= 1 && colour <= kTabColourCount ? colour : 0;
    return std::wstring(TabColourName(row)) + L"(&" + kKeys[row] + L")";
}
