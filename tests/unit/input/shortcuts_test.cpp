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

// Every key with every combination of Ctrl, Shift and Alt, as it comes where
// the focus is.
template <typename Check>
void ForEveryStroke(const Check& check) {
    for (WPARAM key = 1; key < 256; ++key) {
        for (unsigned held = kNone; held <= (kCtrl | kShift | kAlt); ++held) check(key, held);
    }
}

bool WorksAnywhere(ShortcutAction action) {
    switch (action) {
    case ShortcutAction::CopyPaths:
    case ShortcutAction::FocusSearchBox:
    case ShortcutAction::Refresh:
    case ShortcutAction::CopyToOtherPane:
    case ShortcutAction::MoveToOtherPane:
    case ShortcutAction::OpenInOtherPane:
    case ShortcutAction::None: return false;
    default: return true;
    }
}

// The tab and window keys are the window's, wherever the focus is, as in
// browsers; the folder view's keys leave an edit box and the tree their own
// meaning of them. No key means one thing in the view and another elsewhere.
TEST(Shortcuts, InAnEditBoxOrTheTreeAKeyDoesWhatItDoesInTheViewOrNothing) {
    ForEveryStroke([](WPARAM key, unsigned held) {
        const Shortcut inView = Press(key, held);
        for (KeyFocus focus : {KeyFocus::TextBox, KeyFocus::Tree}) {
            const Shortcut there = Press(key, held, focus);
            const bool expectSame = WorksAnywhere(inView.action) && key != VK_BACK;
            EXPECT_EQ(there, expectSame ? inView : kNothing)
                << "key " << key << " held " << held << " focus " << static_cast<int>(focus);
        }
    });
}

// A few bindings that define the rest: the numbered tabs count from one, and
// the ninth is the last; Backspace and Alt+Left both go back.
TEST(Shortcuts, TheNumberKeysPickTabsAndBothBackKeysGoBack) {
    EXPECT_EQ(Press('T', kCtrl), Action(ShortcutAction::NewTab));
    EXPECT_EQ(Press('1', kCtrl), Action(ShortcutAction::SelectTab, 0));
    EXPECT_EQ(Press('8', kCtrl), Action(ShortcutAction::SelectTab, 7));
    EXPECT_EQ(Press('9', kCtrl), Action(ShortcutAction::SelectTab, -1));
    EXPECT_EQ(Press(VK_BACK, kNone), Action(ShortcutAction::Back));
    EXPECT_EQ(Press(VK_LEFT, kAlt), Action(ShortcutAction::Back));
    EXPECT_EQ(Press(VK_LEFT, kAlt, KeyFocus::TextBox), Action(ShortcutAction::Back));
    EXPECT_EQ(Press('C', kCtrl | kShift), Action(ShortcutAction::CopyPaths));
    EXPECT_EQ(Press(VK_F5, kCtrl | kShift), Action(ShortcutAction::Refresh));
    EXPECT_EQ(Press(VK_F6, kShift, KeyFocus::Tree), Action(ShortcutAction::PreviousPane));
    // The split view's keys: Ctrl+\\ as in editors, F7 to F9 between the panes.
    EXPECT_EQ(Press(VK_OEM_5, kCtrl, KeyFocus::TextBox), Action(ShortcutAction::ToggleSplit));
    EXPECT_EQ(Press(VK_RIGHT, kAlt | kShift), Action(ShortcutAction::DividerRight));
    EXPECT_EQ(Press(VK_F7, kNone), Action(ShortcutAction::CopyToOtherPane));
    EXPECT_EQ(Press(VK_F9, kNone), Action(ShortcutAction::OpenInOtherPane));
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
