#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/crash_notice.h"
#include "app/hand_off_queue.h"
#include "app/instance_channel.h"
#include "app/instance_claim.h"
#include "app/takeover_check.h"
#include "mainwindow/tabs/closed_tab_histories.h"
#include "mainwindow/window_host.h"

class MainWindow;

// The process: its command line, its main windows and which of them is active.
class Application final : public WindowHost {
public:
    static Application& Instance();

    // Start-up, message loop and shutdown; returns the process exit code.
    int Run();

    // The takeover's check of this start, once the window has shown its first
    // folder (or given up waiting for it), so that it never competes with the
    // start itself; later calls do nothing.
    void StartTakeoverCheck(HWND window, bool takeoverSetting) override {
        takeoverCheck.Start(window, takeoverSetting);
    }

    bool OpenWindow(const std::wstring& path, int width, int height, int x, int y,
                    const TabState& state) override;
    bool GiveTab(HWND root, const MainWindow& from, POINT screenPoint, const std::wstring& path,
                 const TabState& state) override;
    void CollectSavedTabs(SavedTabs& saved) const override;
    void Restart(MainWindow& asking) override;
    void WindowActivated(MainWindow& window) override;
    void WindowClosing() override;
    void WindowDestroyed(MainWindow& window) override;
    void KeepHandOff(const std::wstring& path) override { handOffs.Deliver(PipeRequest{path, false}); }

    [[nodiscard]] const std::vector<std::unique_ptr<MainWindow>>& Windows() const { return windows; }
    [[nodiscard]] MainWindow* ActiveWindow() const { return activeWindow; }

    // Once the last window begins to close (or the program restarts itself)
    // this instance takes no more hand-offs; a request that reaches it all the
    // same is kept, and a window opens for it once the last one has gone.
    void StopTakingHandOffs();
    // Takes hand-offs (again): once a first window is there, or when a restart
    // could not begin after all.
    void ResumeTakingHandOffs();
    [[nodiscard]] bool TakingHandOffs() const override { return takingHandOffs; }

    // The main window whose top-level window is root, or null.
    [[nodiscard]] MainWindow* WindowForRoot(HWND root) const;

    // The lists of the tabs closed in this run, shared by every window as the
    // closed-folder history is.
    [[nodiscard]] ClosedTabHistories& ClosedTabs() override { return closedTabs; }

private:
    Application() = default;

    // Removes the window from the list and destroys it; false when it was not listed.
    bool DiscardWindow(MainWindow* window);
    void SetActiveWindow(MainWindow* window);
    // Folders posted to a window that is going and not opened by it.
    void PassOnUnopened(HWND going);

    // The windows' message loop, until the last window has closed; its exit code.
    int RunWindows();
    // The first window of a run of the message loop, showing the saved tabs and the request.
    bool OpenFirstWindow(const PipeRequest& opening);
    // Points hand-offs at the active window, or at none while they are not taken.
    void AimHandOffs();

    CommandLineRequest request;
    std::vector<std::unique_ptr<MainWindow>> windows;
    MainWindow* activeWindow = nullptr;
    InstanceClaim claim;
    HandOffQueue handOffs;
    PipeServer pipeServer;
    TakeoverCheck takeoverCheck;
    // Not before the first window is made, nor once the last one closes.
    bool takingHandOffs = false;
    ClosedTabHistories closedTabs;
    // Shown by the first window after a crash.
    CrashNotice crashNotice;
};
