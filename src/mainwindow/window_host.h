#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "mainwindow/tabs/tab_state.h"
#include "settings/settings.h"

class ClosedTabHistories;
class MainWindow;

// What a main window asks of the process that holds it: the other windows, the
// folders handed over to it, and what every window shares. A window never
// reaches into another window: it asks here.
class WindowHost {
public:
    // A further main window showing one folder with the back and forward list
    // and the split of the tab it comes from; false when it could not be made.
    virtual bool OpenWindow(const std::wstring& path, int width, int height, int x, int y,
                            const TabState& state) = 0;
    // Offers a tab dropped at screenPoint onto the main window whose top-level
    // window is root, if that is another than from; true when it was taken.
    virtual bool GiveTab(HWND root, const MainWindow& from, POINT screenPoint, const std::wstring& path,
                         const TabState& state) = 0;
    // The saved tabs of every window, window by window.
    virtual void CollectSavedTabs(SavedTabs& saved) const = 0;
    // The lists of the tabs closed in this run, shared by every window.
    [[nodiscard]] virtual ClosedTabHistories& ClosedTabs() = 0;
    // Starts the program again on the saved config files and closes every
    // window, asking's last: nothing of it may be touched afterwards.
    virtual void Restart(MainWindow& asking) = 0;
    // Once a window has shown its first folder: see Application::StartTakeoverCheck.
    virtual void StartTakeoverCheck(HWND window, bool takeoverSetting) = 0;

    virtual void WindowActivated(MainWindow& window) = 0;
    // The window is about to close: the last one stops taking folders handed over.
    virtual void WindowClosing() = 0;
    // Folders handed to a window that is going and not opened yet go to another
    // window, or back to the process, which opens a window for them. Destroys the
    // window's object.
    virtual void WindowDestroyed(MainWindow& window) = 0;
    // Whether a folder handed over can still be opened here; else it is kept for
    // the next window.
    [[nodiscard]] virtual bool TakingHandOffs() const = 0;
    virtual void KeepHandOff(const std::wstring& path) = 0;

protected:
    ~WindowHost() = default;
};
