#pragma once

#include <windows.h>

// High-contrast themes: while one is on, the drawn chrome uses only the
// system's colours, which the theme chooses, and never a colour of its own.

// Whether a high-contrast theme is on. Asked of the system once, then kept:
// every paint asks, and the answer changes only with the theme. The variable
// QUORLEN_HIGH_CONTRAST=1 says on whatever the system says, for Wine, which
// cannot switch a high-contrast theme on.
[[nodiscard]] bool HighContrastOn();
// Asks the system again; the main window calls it when the theme, the system
// colours or a setting change.
void RefreshHighContrast();

// The inks the chrome draws with that are not system colours of their own.
enum class ChromeInk {
    ButtonGlyph,          // the command bar's and the strip's button glyphs
    DisabledGlyph,        // a disabled button's glyph
    StarGlyph,            // the favourites star
    BarText,              // tab titles, favourites' names: on the button face
    SelectedText,         // the active tab's title
    AddressText,          // address segments: on the window colour
    AddressSeparator,     // the lines between the segments
    SearchGlyph,          // the search box's search and clear marks
    HotClearGlyph,        // the clear mark under the mouse
    HotClearBackground,   // the circle behind it
    PressedClearBackground,
    Placeholder,          // the search box's cue
    SpinnerLead,          // a busy tab's spinner
    SpinnerTrail,
    ListText,             // the favourites drop-down's rows
    HotListText,
    HotListRow,
};

// The system colour (COLOR_*) an ink takes in high contrast.
[[nodiscard]] int HighContrastSystemColour(ChromeInk ink);
// The ink's colour: its own, or in high contrast that system colour's.
[[nodiscard]] COLORREF InkColour(ChromeInk ink, bool highContrast);
[[nodiscard]] inline COLORREF InkColour(ChromeInk ink) { return InkColour(ink, HighContrastOn()); }
