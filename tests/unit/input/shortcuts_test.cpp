#include <gtest/gtest.h>

#include "input/shortcuts.h"

namespace {

enum Held : unsigned { kNone = 0, kCtrl = 1, kShift = 2, kAlt = 4 };

Shortcut Press(WPARAM key, unsigned held, KeyFocus focus = KeyFocus::Elsewhere) {
    const bool alt = (held & kAlt) != 0;
    return ShortcutFor(KeyStroke{alt ? static_cast<UINT>(WM_SYSKEYDOWN) : static_cast<UINT>(WM_KEYDOWN), key,
                                 (held & kCtrl) != 0, (held & kShift) != 0, alt, focus});
}

constexpr Shortcut kNothing{};

Shortcut Action(ShortcutAction action, int tab = 0) { return Shortcut{action, tab}; }

// Every row of the table, where the focus is in an edit box as much as in the
// view: these are the window's keys, not the view's.
TEST(Shortcuts, TheTabAndWindowKeysWorkWhereverTheFocusIs) {
    struct Row {
        WPARAM key;
        unsigned held;
        Shortcut expected;
    };
    const Row rows[] = {
        {'T', kCtrl, Action(ShortcutAction::NewTab)},
        {'W', kCtrl, Action(ShortcutAction::CloseTab)},
        {VK_F4, kCtrl, Action(ShortcutAction::CloseTab)},
        {VK_TAB, kCtrl, Action(ShortcutAction::NextTab)},
        {VK_NEXT, kCtrl, Action(ShortcutAction::NextTab)},
        {VK_TAB, kCtrl | kShift, Action(ShortcutAction::PreviousTab)},
        {VK_PRIOR, kCtrl, Action(ShortcutAction::PreviousTab)},
        {'1', kCtrl, Action(ShortcutAction::SelectTab, 0)},
        {'5', kCtrl, Action(ShortcutAction::SelectTab, 4)},
        {'8', kCtrl, Action(ShortcutAction::SelectTab, 7)},
        {'9', kCtrl, Action(ShortcutAction::SelectTab, -1)},
        {'T', kCtrl | kShift, Action(ShortcutAction::ReopenClosedTab)},
        {'N', kCtrl, Action(ShortcutAction::NewWindow)},
        {'D', kAlt, Action(ShortcutAction::EditAddress)},
        {'L', kCtrl, Action(ShortcutAction::EditAddress)},
        {VK_F4, kNone, Action(ShortcutAction::EditAddress)},
        {VK_LEFT, kAlt, Action(ShortcutAction::Back)},
        {VK_RIGHT, kAlt, Action(ShortcutAction::Forward)},
        {VK_UP, kAlt, Action(ShortcutAction::Up)},
        {VK_F6, kNone, Action(ShortcutAction::NextPane)},
        {VK_F6, kShift, Action(ShortcutAction::PreviousPane)},
    };
    for (const Row& row : rows) {
        for (KeyFocus focus : {KeyFocus::Elsewhere, KeyFocus::TextBox, KeyFocus::Tree}) {
            EXPECT_EQ(Press(row.key, row.held, focus), row.expected)
                << "key " << row.key << " held " << row.held << " focus " << static_cast<int>(focus);
        }
    }
}

TEST(Shortcuts, TheViewKeysLeaveEditBoxesAndTheTreeTheirOwnMeaning) {
    struct Row {
        WPARAM key;
        unsigned held;
        Shortcut expected;
    };
    const Row rows[] = {
        {VK_BACK, kNone, Action(ShortcutAction::Back)},
        {'C', kCtrl | kShift, Action(ShortcutAction::CopyPaths)},
        {'F', kCtrl, Action(ShortcutAction::FocusSearchBox)},
        {VK_F5, kNone, Action(ShortcutAction::Refresh)},
        {VK_F5, kCtrl, Action(ShortcutAction::Refresh)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Press(row.key, row.held), row.expected) << "key " << row.key;
        EXPECT_EQ(Press(row.key, row.held, KeyFocus::TextBox), kNothing) << "key " << row.key << " in an edit box";
        EXPECT_EQ(Press(row.key, row.held, KeyFocus::Tree), kNothing) << "key " << row.key << " in the tree";
    }
}

// The shell view's own keys, the edit's and the system's pass through.
TEST(Shortcuts, OtherKeysAndOtherModifiersFallThrough) {
    for (WPARAM key : {WPARAM{'C'}, WPARAM{'V'}, WPARAM{'X'}, WPARAM{'A'}, WPARAM{'Z'}}) {
        EXPECT_EQ(Press(key, kCtrl), kNothing) << "Ctrl+" << static_cast<char>(key);
    }
    EXPECT_EQ(Press('N', kCtrl | kShift), kNothing) << "Ctrl+Shift+N, the view's new folder";
    EXPECT_EQ(Press(VK_DELETE, kNone), kNothing);
    EXPECT_EQ(Press(VK_F2, kNone), kNothing);
    EXPECT_EQ(Press(VK_F4, kAlt), kNothing) << "Alt+F4 closes the window";
    EXPECT_EQ(Press(VK_TAB, kNone), kNothing);
    EXPECT_EQ(Press(VK_LEFT, kNone), kNothing);
    EXPECT_EQ(Press(VK_BACK, kCtrl), kNothing);
    EXPECT_EQ(Press('T', kCtrl | kAlt), kNothing) << "Ctrl+Alt, AltGr on many layouts, is not Ctrl";
    EXPECT_EQ(Press('D', kNone), kNothing);
    EXPECT_EQ(Press('T', kNone, KeyFocus::TextBox), kNothing);
    EXPECT_EQ(ShortcutFor(KeyStroke{WM_KEYUP, 'T', true, false, false, KeyFocus::Elsewhere}), kNothing);
    EXPECT_EQ(ShortcutFor(KeyStroke{WM_CHAR, 'T', true, false, false, KeyFocus::Elsewhere}), kNothing);
    EXPECT_EQ(ShortcutFor(KeyStroke{WM_SYSKEYDOWN, VK_F5, false, false, false, KeyFocus::Elsewhere}), kNothing)
        << "F10's kind of system key, without Alt";
}

}  // namespace
