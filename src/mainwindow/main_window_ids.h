#pragma once

#include <windows.h>

inline constexpr wchar_t kAppTitle[] = L"Quorlen文件资源管理器";
inline constexpr wchar_t kMainWindowClass[] = L"Quorlen.MainWindow";

// Icon resource of the window and the program file.
inline constexpr int kAppIconId = 101;

// Private messages a main window receives.
inline constexpr UINT WM_APP_OPEN_PATH = WM_APP + 1;  // wParam: 1 = select; lParam: owned heap path
inline constexpr UINT WM_APP_RELAYOUT = WM_APP + 4;
inline constexpr UINT WM_APP_TAB_STEP = WM_APP + 5;   // wParam: non-zero = previous tab
inline constexpr UINT WM_APP_RESTORE_NEXT = WM_APP + 6;
inline constexpr UINT WM_APP_SAVE_TABS = WM_APP + 7;

// Main-window timers.
inline constexpr UINT_PTR kTimerCheckViewWindows = 1;
inline constexpr UINT_PTR kTimerEndRestore = 2;
inline constexpr UINT_PTR kTimerBackupConfig = 3;
inline constexpr UINT_PTR kTimerCheckExecutable = 4;
inline constexpr UINT_PTR kTimerSearchDelay = 5;
inline constexpr UINT_PTR kTimerResumeRestore = 6;

// Child control ids of a main window.
inline constexpr int kCommandBarControlId = 1;
inline constexpr int kPanelHostControlId = 3;
inline constexpr int kTabStripControlId = 7;
inline constexpr int kFavBarControlId = 11;
