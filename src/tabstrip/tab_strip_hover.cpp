#include "tabstrip/tab_strip.h"

#include <commctrl.h>

#include "tabstrip/tab_strip_input_rules.h"
#include "ui/resize_band.h"

void TabStrip::TrackHot(POINT client, POINT screen, WPARAM wParam, LPARAM lParam) {
    // At the window's edges the frame's resize cursor takes over, so nothing here is hot.
    if (InResizeBand(hwnd, screen) && !dragging && !moving) {
        SetHot(-1, kHitNothing);
        UpdateTooltip();
        return;
    }
    const TabStripHit hit = HitTestTabStrip(layout, client, dpi);
    const bool overTab = hit.code >= 0;
    SetHot(overTab ? hit.code : -1, overTab ? kHitNothing : hit.code);
    UpdateTooltip();
    RelayToTooltip(screen, wParam, lParam);
}

// Repaints only what changes: the item that was hot and the one that is now.
void TabStrip::SetHot(int tab, int button) {
    if (tab == hotTab && button == hotButton) return;
    InvalidateHot();
    hotTab = tab;
    hotButton = button;
    InvalidateHot();
}

void TabStrip::InvalidateHot() {
    if (const std::optional<RECT> rect = HotRect(layout, hotTab, hotButton)) InvalidateRect(hwnd, &*rect, FALSE);
}

// The one tool follows the hot tab. A tab the owner gave a tip of its own
// shows it; otherwise only a tab whose title is cut short gets its full title.
void TabStrip::UpdateTooltip() {
    if (!tooltip || hotTab == tooltipTabShown) return;
    tooltipTabShown = hotTab;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = hwnd;
    tool.uId = kTitleToolId;
    const bool placed = ValidIndex(hotTab) && hotTab < static_cast<int>(layout.tabRects.size());
    const std::wstring ownTip = placed ? looks[static_cast<size_t>(hotTab)].tip : std::wstring();
    const bool cut = placed && ownTip.empty() && [&] {
        const std::optional<int> width = TitleWidth(titles[static_cast<size_t>(hotTab)]);
        return width && TitleIsCut(layout.tabRects[static_cast<size_t>(hotTab)], *width, dpi);
    }();
    if (!cut && ownTip.empty()) {
        SendMessageW(tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltip, TTM_POP, 0, 0);
        return;
    }
    tooltipText = ownTip.empty() ? titles[static_cast<size_t>(hotTab)] : ownTip;
    tool.rect = layout.tabRects[static_cast<size_t>(hotTab)];
    SendMessageW(tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.lpszText = tooltipText.data();
    SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TabStrip::RelayToTooltip(POINT screen, WPARAM wParam, LPARAM lParam) {
    if (!tooltip) return;
    MSG relayed{hwnd, WM_MOUSEMOVE, wParam, lParam, 0, screen};
    SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}
