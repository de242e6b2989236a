#pragma once

#include <windows.h>

#include "ui/app_identity.h"

// Private messages a main window posts to itself, numbered after those of
// ui/app_identity.h.
inline constexpr UINT WM_APP_RESTORE_NEXT = WM_APP + 6;
inline constexpr UINT WM_APP_SAVE_TABS = WM_APP + 7;
inline constexpr UINT WM_APP_FOLDERS_DESCRIBED = WM_APP + 8;
inline constexpr UINT WM_APP_RECORD_ICONS = WM_APP + 9;
inline constexpr UINT WM_APP_FOLDERS_REACHED = WM_APP + 11;
inline constexpr UINT WM_APP_SHOW_SECOND_PANE = WM_APP + 12;
// wParam: a FilePanel::PaneCommand for the focused pane of the active tab.
inline constexpr UINT WM_APP_PANE_COMMAND = WM_APP + 13;

// Main-window timers.
inline constexpr UINT_PTR kTimerCheckViewWindows = 1;
inline constexpr UINT_PTR kTimerEndRestore = 2;
inline constexpr UINT_PTR kTimerBackupConfig = 3;
inline constexpr UINT_PTR kTimerSearchDelay = 5;
inline constexpr UINT_PTR kTimerResumeRestore = 6;
inline constexpr UINT_PTR kTimerResumeStripUpdates = 7;
inline constexpr UINT_PTR kTimerHideSaveNotice = 8;
inline constexpr UINT_PTR kTimerSlowFolders = 9;

// Child control ids of a main window.
inline constexpr int kCommandBarControlId = 1;
inline constexpr int kPanelHostControlId = 3;
// The right pane of a split tab; the left one is the tab's panel.
inline constexpr int kSecondPaneHostControlId = 13;
inline constexpr int kTabStripControlId = 7;
inline constexpr int kFavBarControlId = 11;
