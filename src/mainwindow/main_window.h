#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "mainwindow/frame_geometry.h"
#include "mainwindow/tab_info.h"
#include "settings/settings.h"

// One top-level window of the file manager: frameless, with the tab strip where
// a caption would be and the active tab's folder below.
class MainWindow {
public:
    MainWindow();
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates and shows the window. A width or height of 0 or less leaves the size
    // to the saved or default one; x or y equal to CW_USEDEFAULT leave the position
    // to the system.
    [[nodiscard]] bool Create(const std::wstring& path, bool select, bool primary, int width, int height,
                              int x, int y);

    [[nodiscard]] HWND Hwnd() const { return hwnd; }

    // Cuts the tie between the window and this object before the object goes away,
    // so that later messages to the window reach only the default procedure.
    void Detach();

    // Offers a keyboard message to the active tab's panel; true when it was consumed.
    bool RouteKeyToActivePanel(const MSG& msg);

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnClose();
    void SaveNormalRect() const;
    void OnTimer(UINT_PTR id);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(LPARAM lParam);
    bool OnMoveStripButtonDown(POINT clientPoint);
    void OnMoveStripMouseMove(POINT clientPoint);

    [[nodiscard]] WindowBounds ChooseWindowBounds(int width, int height, int x, int y) const;

    HWND hwnd = nullptr;
    Settings settings;
    bool primary = true;
    bool restoring = false;
    bool closing = false;
    bool restarting = false;
    std::wstring initialPath;
    std::vector<TabInfo> tabs;
    int activeTab = -1;
    bool dragging = false;
    bool dragMoved = false;
    POINT dragStart{0, 0};
    int dpi = 96;
};
