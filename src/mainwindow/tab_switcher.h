#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/window_class.h"

inline constexpr wchar_t kTabSwitcherClass[] = L"Quorlen.TabSwitcher";

// The list of a window's tabs that Ctrl+Tab shows while Ctrl is held, when the
// tabs go by recent use. It is a standard list box with the keyboard focus, so
// that screen readers read each tab as the choice moves. Its popup is its own
// top-level window, owned by the main window, so the keys reach the list rather
// than the window's shortcuts: Tab and Shift+Tab move the choice, letting Ctrl
// go or Enter or a click chooses, and Esc or another window taking the
// activation ends it without a choice.
class TabSwitcher {
public:
    struct Entry {
        std::wstring title;
        int tab = -1;  // what onChosen is told, with the folder
        std::wstring folder;
    };

    TabSwitcher() = default;
    ~TabSwitcher();
    TabSwitcher(const TabSwitcher&) = delete;
    TabSwitcher& operator=(const TabSwitcher&) = delete;

    // Shows the entries, the one used last first, centred over owner with the
    // entry at selected chosen, and gives the list the keyboard focus. False
    // when the popup could not be made.
    [[nodiscard]] bool Open(HWND owner, std::vector<Entry> shown, int selected);
    // Moves the choice by step, round from either end.
    void Step(int step);
    [[nodiscard]] bool IsOpen() const { return hwnd != nullptr; }
    // Ends without a choice.
    void Close();

    // Told the chosen entry's tab and folder once the popup is gone; it may
    // open the switcher again. The tabs may have changed while the list was up.
    std::function<void(int tab, const std::wstring& folder)> onChosen;

private:
    // Posted to itself to end once the activation has moved on.
    static constexpr UINT kCloseMessage = WM_APP + 1;

    // The popup went, with the main window that owns it or by our own hand.
    void WindowGone() { list = nullptr; }
    friend LRESULT CALLBACK RouteToObject<TabSwitcher, &TabSwitcher::WindowGone>(HWND window, UINT message,
                                                                                 WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ListProc(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    void Choose();
    void PlaceOver(HWND owner, int dpi);

    HWND hwnd = nullptr;
    HWND list = nullptr;
    std::vector<Entry> entries;
};
