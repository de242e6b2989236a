#pragma once

#include <windows.h>

#include <string>

#include "ui/window_class.h"

inline constexpr wchar_t kTabGhostClass[] = L"Quorlen.TabGhost";

// The half-transparent image of a dragged tab that follows the cursor: a
// topmost popup showing the tab's title, which never takes the activation.
class TabGhost {
public:
    TabGhost() = default;
    ~TabGhost();
    TabGhost(const TabGhost&) = delete;
    TabGhost& operator=(const TabGhost&) = delete;

    // Shows the image of a tab with that title at a screen point, sized for the
    // title in the UI font of the DPI; replaces an image shown before.
    void Show(const std::wstring& title, POINT screenTopLeft, int dpi);
    void MoveTo(POINT screenTopLeft);
    void Destroy();

    [[nodiscard]] HWND Hwnd() const { return hwnd; }

private:
    friend LRESULT CALLBACK RouteToObject<TabGhost>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);

    HWND hwnd = nullptr;
    std::wstring title;
};
