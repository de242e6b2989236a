#pragma once

#include <windows.h>

#include <string>

#include "ui/window_class.h"

// The half-transparent image of a dragged item that follows the cursor: a
// topmost popup showing the item's name, which never takes the activation.
// Each kind of dragged item has its own window class, so that tools can tell
// the images apart.
class DragGhost {
public:
    // className names the window class of this kind of image, heightDips its height.
    DragGhost(const wchar_t* className, int heightDips) : className(className), heightDips(heightDips) {}
    ~DragGhost();
    DragGhost(const DragGhost&) = delete;
    DragGhost& operator=(const DragGhost&) = delete;

    // Shows the image of an item with that name at a screen point, sized for the
    // name in the UI font of the DPI; replaces an image shown before.
    void Show(const std::wstring& name, POINT screenTopLeft, int dpi);
    void MoveTo(POINT screenTopLeft);
    void Destroy();

    [[nodiscard]] HWND Hwnd() const { return hwnd; }

private:
    friend LRESULT CALLBACK RouteToObject<DragGhost>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);

    const wchar_t* className;
    int heightDips;
    HWND hwnd = nullptr;
    std::wstring name;
};

// The image keeps this far below and right of the cursor, so that it never
// lies under the drop point.
[[nodiscard]] POINT GhostOrigin(POINT cursorScreen, int dpi);
[[nodiscard]] SIZE GhostSize(int nameWidth, int heightDips, int dpi);
