#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"

class MainWindow;

// The process: its command line, its main windows and which of them is active.
class Application {
public:
    static Application& Instance();

    // Start-up, message loop and shutdown; returns the process exit code.
    int Run();

    void OnWindowDestroyed(MainWindow* window);
    void SetActiveWindow(MainWindow* window);

    // Opens a further main window showing one folder; null when it cannot be created.
    MainWindow* OpenWindow(const std::wstring& path, int width, int height, int x, int y);

    [[nodiscard]] const std::vector<std::unique_ptr<MainWindow>>& Windows() const { return windows; }
    [[nodiscard]] MainWindow* ActiveWindow() const { return activeWindow; }
    // Safe to call from any thread; check the handle with IsWindow before use.
    [[nodiscard]] HWND ActiveHwnd() const { return activeHwnd.load(); }

    // The main window whose top-level window is root, or null.
    [[nodiscard]] MainWindow* WindowForRoot(HWND root) const;

private:
    Application() = default;

    // Removes the window from the list and destroys it; false when it was not listed.
    bool DiscardWindow(MainWindow* window);

    CommandLineRequest request;
    std::vector<std::unique_ptr<MainWindow>> windows;
    MainWindow* activeWindow = nullptr;
    // Written by the UI thread, read by the instance pipe's thread.
    std::atomic<HWND> activeHwnd{nullptr};
};
