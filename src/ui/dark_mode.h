#pragma once

#include <windows.h>

// What makes the system's own parts dark along with the chrome we draw: the
// window frame, popup menus, the standard controls and the hosted shell view.
//
// Only the frame's attribute is documented (from Windows 11). Menus, controls
// and the shell view take the dark theme through uxtheme.dll functions that
// Windows exports by ordinal only, from Windows 10 1809 on; they are looked up
// only on the builds where they are known to exist, and anywhere else those
// parts simply stay light.

// The uxtheme.dll functions exist on this build: Windows 10 1809 (17763) up
// to the newest build they are known on.
[[nodiscard]] bool DarkThemeCallsKnownOn(DWORD build);
// Whether they were found on this system.
[[nodiscard]] bool DarkThemeCallsAvailable();

// Which frame attribute asks DWM for a dark frame on this build: 20 from
// Windows 10 20H1 (19041), 19 on 1809 to 1909, none before.
[[nodiscard]] DWORD DarkFrameAttributeFor(DWORD build);

// Popup menus, ours and the shell's, in the palette's mode.
void ThemeMenus(bool dark);
// Whether the system draws popup menus dark once asked: with the uxtheme calls,
// and on Windows 10 1809, which can only allow dark, while its mode is dark.
[[nodiscard]] bool SystemDrawsDarkMenus();
// The frame of a top-level window we own.
void ThemeFrame(HWND window, bool dark);
// A standard control: its dark theme where available (darkTheme, such as
// "DarkMode_Explorer"), its usual one otherwise.
void ThemeControl(HWND control, bool dark, const wchar_t* darkTheme);
// A check box: its text is drawn in the colour its parent gives
// only without visual styles, so in dark it goes without them.
void ThemeLabelledButton(HWND control, bool dark);
// Paints a sunken edit box's edge in the dark palette, where the system would
// draw it light; answers whether it did, and so whether WM_NCPAINT is answered.
bool PaintDarkFieldEdge(HWND edit);
// Gives an edit box of a dialog that edge in the dark palette from now on.
void KeepDarkFieldEdge(HWND edit);
// Draws a group box in the dark palette from now on: its frame and title, in
// inks the system's group box takes from no one.
void KeepDarkGroupBox(HWND group);
// A tooltip window, its colours included where it draws unthemed.
void ThemeTooltip(HWND tooltip, bool dark);
// The shell view's items, column header, tree and scroll bars under a window.
void ThemeShellView(HWND host, bool dark);
