#pragma once

#include <windows.h>

// The program's keyboard shortcuts: one table, decided apart from any window.

// What has the keyboard focus when a key comes.
enum class KeyFocus {
    Elsewhere,  // the folder view, the strip, or no window at all
    TextBox,    // an edit box: the address bar, the search box, an in-place rename
    Tree,       // the navigation tree
};

struct KeyStroke {
    UINT message = 0;  // WM_KEYDOWN or WM_SYSKEYDOWN; other messages never match
    WPARAM key = 0;    // virtual key
    bool control = false;
    bool shift = false;
    bool alt = false;
    KeyFocus focus = KeyFocus::Elsewhere;
};

enum class ShortcutAction {
    None,
    NewTab,
    CloseTab,
    NextTab,
    PreviousTab,
    // Ctrl+Tab and Ctrl+Shift+Tab: the next and previous tab, or by recent use
    // when the user chose so.
    CycleTabs,
    CycleTabsBack,
    SelectTab,  // the tab at Shortcut::tab; -1 for the last one
    ReopenClosedTab,
    NewWindow,
    EditAddress,
    Back,
    Forward,
    Up,
    CopyPaths,
    FocusSearchBox,
    Refresh,
    NextPane,      // the focus on to the next part of the window (F6)
    PreviousPane,  // and back (Shift+F6)
    ToggleSplit,   // the active tab as two panes side by side, or one again
    CopyToOtherPane,
    MoveToOtherPane,
    OpenInOtherPane,  // the pane's folder, or the one selected, in the other pane
    DividerLeft,      // the divider of a split tab a step to the left
    DividerRight,
};

struct Shortcut {
    ShortcutAction action = ShortcutAction::None;
    int tab = 0;

    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

// The tab and window keys work wherever the focus is, as they do in browsers;
// the folder view's keys leave edit boxes and the tree their own meaning of
// them. None: the key goes on to the focused window.
[[nodiscard]] Shortcut ShortcutFor(const KeyStroke& stroke);
