#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tabstrip/tab_strip_messages.h"

// Reading another process's windows, as an outside tool would.

// The tab strip's query messages, by the short names the tests use.
inline constexpr UINT kTabCount = kTabStripCountMessage;
inline constexpr UINT kActiveTab = kTabStripActiveMessage;
inline constexpr UINT kSelectTab = kTabStripSelectMessage;
inline constexpr UINT kCloseTab = kTabStripCloseMessage;

// Sends a query message to a tab strip and returns its answer; -1 (and a test
// failure) when the strip does not answer in time.
LRESULT Query(HWND strip, UINT message, WPARAM wParam = 0);

// The first descendant of parent of a window class, or null.
[[nodiscard]] HWND FindDescendant(HWND parent, const wchar_t* className);

[[nodiscard]] std::wstring WindowText(HWND window);
[[nodiscard]] std::wstring ClassOf(HWND window);

// The tabs of a main window whose panel shows a folder: a panel has its shell
// view window once its first navigation has arrived, hidden tabs too.
[[nodiscard]] int NavigatedPanelCount(HWND mainWindow);

// A window of a class inside the panel of a main window's shown tab, or null.
[[nodiscard]] HWND ShownPanelDescendant(HWND mainWindow, const wchar_t* className);

// Whether two lists of paths are equal, ignoring letter case.
[[nodiscard]] bool SamePaths(const std::vector<std::wstring>& actual, const std::vector<std::wstring>& expected);

// The texts of the selected items of a list view in another process.
[[nodiscard]] std::vector<std::wstring> SelectedListItems(HWND list);

// The index of the list view item with a text, or -1.
[[nodiscard]] int FindListItem(HWND list, const std::wstring& text);

// The screen point in the middle of a list view item's label; false when the
// list view does not tell.
[[nodiscard]] bool ListItemLabelCentre(HWND list, int index, POINT& centre);

// The screen point in the middle of the label of a tree view's shown item
// with a text; false when there is no such item.
[[nodiscard]] bool VisibleTreeItemCentre(HWND tree, const std::wstring& text, POINT& centre);

// A visible top-level window of the process and of a class, or null.
[[nodiscard]] HWND FindProcessWindow(DWORD processId, const wchar_t* className);

// A visible message box of the process, or null.
[[nodiscard]] HWND FindMessageBox(DWORD processId);
// The message a message box shows.
[[nodiscard]] std::wstring MessageBoxText(HWND box);
// A window's rectangle on the screen.
[[nodiscard]] RECT ScreenRectOf(HWND window);
// The popup menu on the screen, or null.
[[nodiscard]] HWND ShownMenu();
