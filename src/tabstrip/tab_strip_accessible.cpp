#include <iterator>

#include "tabstrip/tab_strip.h"
#include "ui/accessible_rules.h"
#include "ui/drawn_accessible.h"

// What the strip tells screen readers: a page tab list whose children are the
// tabs, in tab order, and then the buttons from left to right.

namespace {

struct ButtonName {
    int hitCode;
    const wchar_t* name;
};

constexpr ButtonName kButtonNames[] = {
    {kHitPlus, L"新建标签页"},
    {kHitStar, L"收藏夹"},
    {kHitSettings, L"设置"},
    {kHitFolderOptions, L"文件夹选项"},
    {kHitMinimize, L"最小化"},
    {kHitMaximize, L"最大化"},
    {kHitClose, L"关闭"},
};
constexpr int kButtonCount = static_cast<int>(std::size(kButtonNames));

constexpr wchar_t kSwitchAction[] = L"切换";
constexpr wchar_t kPressAction[] = L"按下";

const TabStripButton* ButtonOfHit(int hitCode) {
    for (const TabStripButton& button : kTabStripButtons) {
        if (button.hitCode == hitCode) return &button;
    }
    return nullptr;
}

}  // namespace

int TabStrip::TabCount() const { return static_cast<int>(titles.size()); }

LONG TabStrip::AccessibleRole() const { return ROLE_SYSTEM_PAGETABLIST; }

std::wstring TabStrip::AccessibleName() const {
    return ValidIndex(activeIndex) ? titles[static_cast<size_t>(activeIndex)] : std::wstring();
}

LONG TabStrip::AccessibleState() const { return STATE_SYSTEM_FOCUSABLE; }

int TabStrip::AccessibleChildCount() const { return TabCount() + kButtonCount; }

AccessibleChild TabStrip::AccessibleChildAt(int index) const {
    AccessibleChild child;
    if (ValidIndex(index)) {
        const size_t i = static_cast<size_t>(index);
        child.role = ROLE_SYSTEM_PAGETAB;
        child.name = titles[i];
        if (tabFolder) child.description = tabFolder(index);
        child.defaultAction = kSwitchAction;
        child.state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (index == activeIndex) child.state |= STATE_SYSTEM_SELECTED;
        if (i < layout.tabRects.size()) child.bounds = layout.tabRects[i];
        return child;
    }
    const int button = index - TabCount();
    if (button < 0 || button >= kButtonCount) return child;
    const ButtonName& named = kButtonNames[button];
    child.role = ROLE_SYSTEM_PUSHBUTTON;
    child.name = named.name;
    if (named.hitCode == kHitMaximize && hwnd && IsZoomed(TopLevel())) child.name = L"还原";
    child.defaultAction = kPressAction;
    if (named.hitCode == kHitStar && favPaths.empty()) child.state |= STATE_SYSTEM_UNAVAILABLE;
    if (pressedButton == named.hitCode) child.state |= STATE_SYSTEM_PRESSED;
    if (hotButton >= 0) {
        if (const TabStripButton* drawn = ButtonOfHit(named.hitCode); drawn && drawn->hotNumber == hotButton) {
            child.state |= STATE_SYSTEM_HOTTRACKED;
        }
    }
    if (const TabStripButton* drawn = ButtonOfHit(named.hitCode)) child.bounds = layout.*drawn->rect;
    return child;
}

// Acts later, from the strip's own message: the tool that asked waits for the
// answer, and an action may open a dialog with a loop of its own.
bool TabStrip::AccessibleDoDefaultAction(int index) {
    if (ValidIndex(index)) return PostMessageW(hwnd, kAccessibleActionMessage, static_cast<WPARAM>(index), 0) != FALSE;
    const int button = index - TabCount();
    if (button < 0 || button >= kButtonCount) return false;
    return PostMessageW(hwnd, kAccessibleActionMessage, 0, kButtonNames[button].hitCode) != FALSE;
}

bool TabStrip::AccessibleSelect(int index, LONG flags) {
    if (!ValidIndex(index)) return false;
    if ((flags & SELFLAG_TAKEFOCUS) != 0) {
        SetFocus(hwnd);
        FocusTab(index);
    }
    if ((flags & SELFLAG_TAKESELECTION) != 0) {
        PostMessageW(hwnd, kAccessibleActionMessage, static_cast<WPARAM>(index), 0);
    }
    return true;
}

int TabStrip::AccessibleFocus() const { return ValidIndex(focusTab) ? focusTab : -1; }

int TabStrip::AccessibleSelection() const { return ValidIndex(activeIndex) ? activeIndex : -1; }

// lParam: a button's hit code, 0 for the tab wParam names.
void TabStrip::RunAccessibleAction(WPARAM wParam, LPARAM lParam) {
    const int hitCode = static_cast<int>(lParam);
    switch (hitCode) {
    case 0:
        if (wParam < titles.size()) RaiseEvent(kTabEventActivate, static_cast<int>(wParam));
        return;
    case kHitPlus:
        RaiseEvent(kTabEventNewTab, -1);
        return;
    case kHitSettings:
        RaiseEvent(kTabEventSettings, -1);
        return;
    case kHitFolderOptions:
        RaiseEvent(kTabEventFolderOptions, -1);
        return;
    case kHitStar:
        PressStar();
        return;
    case kHitMinimize:
    case kHitMaximize:
    case kHitClose:
        ActOnCaptionButton(hitCode);
        return;
    default:
        return;
    }
}

void TabStrip::FocusTab(int index) {
    if (!ValidIndex(index)) return;
    if (index != focusTab && ValidIndex(focusTab)) InvalidateTab(focusTab);
    focusTab = index;
    InvalidateTab(index);
    if (GetFocus() == hwnd) NotifyAccessibleEvent(EVENT_OBJECT_FOCUS, hwnd, index);
}

void TabStrip::InvalidateTab(int index) {
    if (hwnd && index >= 0 && index < static_cast<int>(layout.tabRects.size())) {
        InvalidateRect(hwnd, &layout.tabRects[static_cast<size_t>(index)], FALSE);
    }
}

// The keys of a focused strip; false leaves a key to the default handling.
bool TabStrip::OnKeyDown(WPARAM key) {
    if (titles.empty()) return false;
    const int last = TabCount() - 1;
    const int from = ValidIndex(focusTab) ? focusTab : (ValidIndex(activeIndex) ? activeIndex : 0);
    switch (key) {
    case VK_LEFT:
        FocusTab(from > 0 ? from - 1 : 0);
        return true;
    case VK_RIGHT:
        FocusTab(from < last ? from + 1 : last);
        return true;
    case VK_HOME:
        FocusTab(0);
        return true;
    case VK_END:
        FocusTab(last);
        return true;
    case VK_RETURN:
    case VK_SPACE:
        focusTab = from;
        RaiseEvent(kTabEventActivate, from);
        return true;
    case VK_DELETE:
        focusTab = from;
        RaiseEvent(kTabEventClose, from);
        return true;
    default:
        return false;
    }
}

void TabStrip::OnFocusChanged(bool gained) {
    if (gained) {
        if (!ValidIndex(focusTab)) focusTab = activeIndex;
        if (ValidIndex(focusTab)) NotifyAccessibleEvent(EVENT_OBJECT_FOCUS, hwnd, focusTab);
    }
    InvalidateTab(focusTab);
}

void TabStrip::AnnounceActiveTab() {
    if (!ValidIndex(activeIndex)) return;
    const bool focused = GetFocus() == hwnd;
    if (focused) {
        if (ValidIndex(focusTab)) InvalidateTab(focusTab);
        focusTab = activeIndex;
    }
    for (const DWORD event : ActiveItemEvents(focused)) NotifyAccessibleEvent(event, hwnd, activeIndex);
}
