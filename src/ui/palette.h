#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

// The colours the drawn chrome takes: light, dark, or in a high-contrast theme
// only the system's colours, which the theme chooses.

// What the user chose under 外观, as settings.txt keeps it.
enum class AppearanceChoice : int32_t { FollowSystem = 0, Light = 1, Dark = 2 };
// A number read from settings.txt as a choice; one no version wrote follows the system.
[[nodiscard]] AppearanceChoice AppearanceFromNumber(int32_t number);

enum class Palette { Light, Dark, HighContrast };

// High contrast wins over everything; then the user's choice; following the
// system, dark only when the system asks apps for it.
[[nodiscard]] Palette ChoosePalette(bool systemAppsLight, AppearanceChoice choice, bool highContrast);

// The palette the chrome paints with. Worked out once, then kept: every paint
// asks, and the answer changes only with the theme or the choice.
[[nodiscard]] Palette CurrentPalette();
[[nodiscard]] inline bool HighContrastOn() { return CurrentPalette() == Palette::HighContrast; }
[[nodiscard]] inline bool DarkChrome() { return CurrentPalette() == Palette::Dark; }
// Windows' "选择默认应用模式": light unless the user chose dark, as on systems
// older than the setting.
[[nodiscard]] bool SystemAppsUseLight();
// Takes the user's choice and asks the system again; the windows call it when
// the theme, the system colours or a setting change. Answers the palette now.
Palette RefreshPalette(AppearanceChoice choice);
// The same with the choice taken last.
Palette RefreshPalette();

// The inks the chrome draws with.
enum class ChromeInk {
    // Surfaces. Light takes the system's colours for them, as high contrast does.
    Face,                 // the bars, the dialogs
    HotFace,              // a button or tab under the mouse
    PressedFace,          // a button held down
    Field,                // what stands out of the bars: the active tab, the address box, lists, edit boxes
    FieldText,            // text typed into a field, a dialog's text
    Outline,              // the lines around the tabs and the buttons among them
    Accent,               // the active tab's bar, hot frames, where a drop lands
    // Marks and text on those surfaces.
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
[[nodiscard]] COLORREF InkColour(ChromeInk ink, Palette palette);
[[nodiscard]] inline COLORREF InkColour(ChromeInk ink) { return InkColour(ink, CurrentPalette()); }
// A brush of the ink in the current palette. The palette keeps it until it
// changes: callers neither free it nor keep it past the paint or message.
[[nodiscard]] HBRUSH InkBrush(ChromeInk ink);
void FillInk(HDC dc, const RECT& rect, ChromeInk ink);
void FrameInk(HDC dc, const RECT& rect, ChromeInk ink);

// Answers WM_CTLCOLOR* for a window's standard controls in the palette: edit
// boxes and lists as fields, everything else on the face. Nothing for any other message.
[[nodiscard]] std::optional<LRESULT> AnswerControlColour(UINT message, WPARAM wParam);
// Paints the client area in the ink, as WM_ERASEBKGND does; answers that it did.
LRESULT EraseWithInk(HWND window, HDC dc, ChromeInk ink);
