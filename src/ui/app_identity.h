#pragma once

#include <windows.h>

// What names the program to the user and to its other instances, and the
// private messages that parts other than the main window send it.

inline constexpr wchar_t kAppTitle[] = L"Quorlen文件资源管理器";
inline constexpr wchar_t kMainWindowClass[] = L"Quorlen.MainWindow";

// Icon resource of the window and the program file.
inline constexpr int kAppIconId = 101;

// Private messages a main window receives from outside it. The main window's
// own messages follow these in mainwindow/main_window_ids.h.
inline constexpr UINT WM_APP_OPEN_PATH = WM_APP + 1;  // wParam: 1 = select; lParam: owned heap path
inline constexpr UINT WM_APP_RELAYOUT = WM_APP + 4;
inline constexpr UINT WM_APP_TAB_STEP = WM_APP + 5;   // wParam: non-zero = previous tab
// wParam: the StartupAction asked about; lParam: the question, as a posted path.
inline constexpr UINT WM_APP_TAKEOVER_QUESTION = WM_APP + 10;
