#include "commandbar/command_bar.h"

#include "ui/window_class.h"

// What the bar tells screen readers: a tool bar holding the six buttons (each a
// window that answers for itself, named by its window text), the address as an
// object of its own whose value is the path and whose children are the
// segments, the address edit and the search box.

namespace {

constexpr wchar_t kBarName[] = L"命令栏";
constexpr wchar_t kOpenAction[] = L"打开";

}  // namespace

LONG CommandBar::AccessibleRole() const { return ROLE_SYSTEM_TOOLBAR; }

std::wstring CommandBar::AccessibleName() const { return kBarName; }

int CommandBar::AccessibleChildCount() const { return kSearchBoxChild + 1; }

AccessibleChild CommandBar::AccessibleChildAt(int index) const {
    AccessibleChild child;
    if (index >= 0 && index < kAddressChild) {
        child.window = buttons[static_cast<size_t>(index)].window;
        child.name = ReadWindowText(child.window);
        return child;
    }
    switch (index) {
    case kAddressChild:
        child.role = addressSource.AccessibleRole();
        child.name = kAddressName;
        child.value = currentPath;
        // Under the open edit only the edit is found at a point.
        if (!editing) child.bounds = addressRect;
        break;
    case kAddressEditChild:
        child.role = ROLE_SYSTEM_TEXT;
        child.name = kAddressName;
        child.window = addressEdit;
        break;
    case kSearchBoxChild:
        child.role = ROLE_SYSTEM_TEXT;
        child.name = kSearchBoxName;
        child.window = searchEdit;
        break;
    default:
        break;
    }
    return child;
}

IAccessible* CommandBar::AccessibleChildObject(int index) {
    if (index != kAddressChild) return nullptr;
    return addressAccessible.Get(hwnd, addressSource);
}

// The buttons and edits answer for themselves; the address has no action of its own.
bool CommandBar::AccessibleDoDefaultAction(int /*index*/) { return false; }

LONG CommandBar::AddressAccessible::AccessibleRole() const { return ROLE_SYSTEM_TOOLBAR; }

std::wstring CommandBar::AddressAccessible::AccessibleName() const { return kAddressName; }

std::wstring CommandBar::AddressAccessible::AccessibleValue() const { return bar_.currentPath; }

std::optional<RECT> CommandBar::AddressAccessible::AccessibleBounds() const { return bar_.addressRect; }

int CommandBar::AddressAccessible::AccessibleChildCount() const {
    // While the edit covers the area no segment is shown.
    return bar_.editing ? 0 : static_cast<int>(bar_.segments.size());
}

AccessibleChild CommandBar::AddressAccessible::AccessibleChildAt(int index) const {
    AccessibleChild child;
    if (index < 0 || index >= static_cast<int>(bar_.segments.size())) return child;
    const AddressSegment& segment = bar_.segments[static_cast<size_t>(index)];
    child.role = ROLE_SYSTEM_PUSHBUTTON;
    child.name = segment.text;
    child.description = segment.target;
    child.defaultAction = kOpenAction;
    if (index == bar_.hoverSegment) child.state |= STATE_SYSTEM_HOTTRACKED;
    if (static_cast<size_t>(index) < bar_.segmentRects.size()) {
        child.bounds = bar_.segmentRects[static_cast<size_t>(index)];
        if (IsRectEmpty(&child.bounds)) child.state |= STATE_SYSTEM_INVISIBLE;
    }
    return child;
}

IAccessible* CommandBar::AddressAccessible::AccessibleParent() {
    return bar_.accessible.Get(bar_.hwnd, bar_);
}

// Opened later, from the bar's own message: the tool that asked waits for the answer.
bool CommandBar::AddressAccessible::AccessibleDoDefaultAction(int index) {
    if (index < 0 || index >= static_cast<int>(bar_.segments.size()) || !bar_.hwnd) return false;
    return PostMessageW(bar_.hwnd, kOpenSegmentMessage, static_cast<WPARAM>(index), 0) != FALSE;
}
