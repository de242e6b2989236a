#include "tabstrip/tab_strip.h"
#include "tabstrip/tab_strip_input_rules.h"
#include "ui/accessible_rules.h"
#include "ui/drawn_accessible.h"

// What the strip tells screen readers: a page tab list whose children are the
// tabs, in tab order, and then the buttons from left to right.

namespace {

constexpr wchar_t kSwitchAction[] = L"切换";
constexpr wchar_t kPressAction[] = L"按下";

}  // namespace

int TabStrip::TabCount() const { return static_cast<int>(titles.size()); }

LONG TabStrip::AccessibleRole() const { return ROLE_SYSTEM_PAGETABLIST; }

std::wstring TabStrip::AccessibleName() const {
    return ValidIndex(activeIndex) ? titles[static_cast<size_t>(activeIndex)] : std::wstring();
}

LONG TabStrip::AccessibleState() const { return STATE_SYSTEM_FOCUSABLE; }

int TabStrip::AccessibleChildCount() const { return TabCount() + static_cast<int>(kTabStripButtonCount); }

const TabStripButton* TabStrip::ButtonOfChild(int index) const {
    const int row = index - TabCount();
    if (row < 0 || row >= static_cast<int>(kTabStripButtonCount)) return nullptr;
    return &kTabStripButtons[row];
}

AccessibleChild TabStrip::AccessibleChildAt(int index) const {
    AccessibleChild child;
    if (ValidIndex(index)) {
        const size_t i = static_cast<size_t>(index);
        child.role = ROLE_SYSTEM_PAGETAB;
        child.name = titles[i];
        child.description = TabDescription(looks[i].pinned, looks[i].colour, tabFolder ? tabFolder(index) : L"");
        child.defaultAction = kSwitchAction;
        child.state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (index == activeIndex) child.state |= STATE_SYSTEM_SELECTED;
        if (i < layout.tabRects.size()) child.bounds = layout.tabRects[i];
        return child;
    }
    const TabStripButton* button = ButtonOfChild(index);
    if (!button) return child;
    child.role = ROLE_SYSTEM_PUSHBUTTON;
    const bool maximized = hwnd && IsZoomed(TopLevel());
    child.name = ShowsMaximizedFace(*button, maximized) ? button->maximizedFace.name : button->face.name;
    child.defaultAction = kPressAction;
    if (button->action == ButtonAction::OpenFavourites && favPaths.empty()) child.state |= STATE_SYSTEM_UNAVAILABLE;
    if (pressedButton == button->hitCode) child.state |= STATE_SYSTEM_PRESSED;
    if (hotButton == button->hitCode) child.state |= STATE_SYSTEM_HOTTRACKED;
    child.bounds = layout.*button->rect;
    return child;
}

// Acts later, from the strip's own message: the tool that asked waits for the
// answer, and an action may open a dialog with a loop of its own.
bool TabStrip::AccessibleDoDefaultAction(int index) {
    if (ValidIndex(index)) return PostMessageW(hwnd, kAccessibleActionMessage, static_cast<WPARAM>(index), 0) != FALSE;
    const TabStripButton* button = ButtonOfChild(index);
    if (!button) return false;
    return PostMessageW(hwnd, kAccessibleActionMessage, 0, button->hitCode) != FALSE;
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

// lParam: a button's hit code, 0 for the tab wParam names. A button acts at
// once, as no press comes before: the window's own buttons do not wait for a release.
void TabStrip::RunAccessibleAction(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) {
        if (wParam < titles.size()) RaiseEvent(kTabEventActivate, static_cast<int>(wParam));
        return;
    }
    const TabStripButton* button = FindTabStripButton(static_cast<int>(lParam));
    if (!button) return;
    switch (button->action) {
    case ButtonAction::RaiseEvent:
        RaiseEvent(button->event, -1);
        return;
    case ButtonAction::OpenFavourites:
        PressStar();
        return;
    default:
        ActOnWindow(button->action);
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
