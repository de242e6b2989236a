#include "input/shortcuts.h"

namespace {

// Which of Ctrl, Shift and Alt a row asks for; any other combination misses it,
// so that Ctrl+Alt (AltGr on many layouts) never reaches a Ctrl row.
enum Modifiers : unsigned {
    kNone = 0,
    kCtrl = 1,
    kShift = 2,
    kAlt = 4,
};

struct KeyRow {
    WPARAM key;
    unsigned modifiers;
    ShortcutAction action;
    bool anywhere;  // false: only where the focus is not in an edit box or the tree
    int tab = 0;
};

constexpr KeyRow kKeyRows[] = {
    {'T', kCtrl, ShortcutAction::NewTab, true},
    {'W', kCtrl, ShortcutAction::CloseTab, true},
    {VK_F4, kCtrl, ShortcutAction::CloseTab, true},
    {VK_TAB, kCtrl, ShortcutAction::CycleTabs, true},
    {VK_NEXT, kCtrl, ShortcutAction::NextTab, true},
    {VK_TAB, kCtrl | kShift, ShortcutAction::CycleTabsBack, true},
    {VK_PRIOR, kCtrl, ShortcutAction::PreviousTab, true},
    {'1', kCtrl, ShortcutAction::SelectTab, true, 0},
    {'2', kCtrl, ShortcutAction::SelectTab, true, 1},
    {'3', kCtrl, ShortcutAction::SelectTab, true, 2},
    {'4', kCtrl, ShortcutAction::SelectTab, true, 3},
    {'5', kCtrl, ShortcutAction::SelectTab, true, 4},
    {'6', kCtrl, ShortcutAction::SelectTab, true, 5},
    {'7', kCtrl, ShortcutAction::SelectTab, true, 6},
    {'8', kCtrl, ShortcutAction::SelectTab, true, 7},
    {'9', kCtrl, ShortcutAction::SelectTab, true, -1},
    {'T', kCtrl | kShift, ShortcutAction::ReopenClosedTab, true},
    {'N', kCtrl, ShortcutAction::NewWindow, true},
    {'D', kAlt, ShortcutAction::EditAddress, true},
    {'L', kCtrl, ShortcutAction::EditAddress, true},
    {VK_F4, kNone, ShortcutAction::EditAddress, true},
    {VK_LEFT, kAlt, ShortcutAction::Back, true},
    {VK_RIGHT, kAlt, ShortcutAction::Forward, true},
    {VK_UP, kAlt, ShortcutAction::Up, true},
    // Round the window's parts, as in the system's file window.
    {VK_F6, kNone, ShortcutAction::NextPane, true},
    {VK_F6, kShift, ShortcutAction::PreviousPane, true},
    // Ctrl+\ splits a view, as in editors.
    {VK_OEM_5, kCtrl, ShortcutAction::ToggleSplit, true},
    {VK_LEFT, kAlt | kShift, ShortcutAction::DividerLeft, true},
    {VK_RIGHT, kAlt | kShift, ShortcutAction::DividerRight, true},
    {VK_F7, kNone, ShortcutAction::CopyToOtherPane, false},
    {VK_F8, kNone, ShortcutAction::MoveToOtherPane, false},
    {VK_F9, kNone, ShortcutAction::OpenInOtherPane, false},
    {VK_BACK, kNone, ShortcutAction::Back, false},
    {'C', kCtrl | kShift, ShortcutAction::CopyPaths, false},
    {'F', kCtrl, ShortcutAction::FocusSearchBox, false},
    // F5 refreshes whatever else is held, as the shell's views do.
    {VK_F5, kNone, ShortcutAction::Refresh, false},
    {VK_F5, kCtrl, ShortcutAction::Refresh, false},
    {VK_F5, kShift, ShortcutAction::Refresh, false},
    {VK_F5, kCtrl | kShift, ShortcutAction::Refresh, false},
};

}  // namespace

Shortcut ShortcutFor(const KeyStroke& stroke) {
    // Alt turns a key into WM_SYSKEYDOWN; F10 does so without it, and means the menu.
    const bool keyDown = stroke.message == WM_KEYDOWN || (stroke.message == WM_SYSKEYDOWN && stroke.alt);
    if (!keyDown) return {};
    const unsigned held = (stroke.control ? kCtrl : kNone) | (stroke.shift ? kShift : kNone) |
                          (stroke.alt ? kAlt : kNone);
    for (const KeyRow& row : kKeyRows) {
        if (row.key != stroke.key || row.modifiers != held) continue;
        if (!row.anywhere && stroke.focus != KeyFocus::Elsewhere) return {};
        return Shortcut{row.action, row.tab};
    }
    return {};
}
