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
#include "mainwindow/closed_tab_histories.h"

class MainWindow;

// The process: its command line, its main windows and which of them is active.
class Application {
public:
    static Application& Instance();

    // Start-up, message loop and shutdown; returns the process exit code.
    int Run();

    // The takeover's check of this start, once the window has shown its first
    // folder (or given up waiting for it), so that it never competes with the
    // start itself; later calls do nothing.
    void StartTakeoverCheck(HWND window, bool takeoverSetting) { takeoverCheck.Start(window, takeoverSetting); }

    void OnWindowDestroyed(MainWindow* window);
    void SetActiveWindow(MainWindow* window);

    // Opens a further main window showing one folder, with the back and forward
    // list of the tab it comes from; null when it cannot be created.
    MainWindow* OpenWindow(const std::wstring& path, int width, int height, int x, int y,
                           TabHistory history = {});

    [[nodiscard]] const std::vector<std::unique_ptr<MainWindow>>& Windows() const { return windows; }
    [[nodiscard]] MainWindow* ActiveWindow() const { return activeWindow; }

    // Once the last window begins to close (or the program restarts itself)
    // this instance takes no more hand-offs; a request that reaches it all the
    // same is kept, and a window opens for it once the last one has gone.
    void StopTakingHandOffs();
    // Takes hand-offs (again): once a first window is there, or when a restart
    // could not begin after all.
    void ResumeTakingHandOffs();
    [[nodiscard]] bool TakingHandOffs() const { return takingHandOffs; }
    // A request that reached a window which can no longer open it.
    void KeepRequest(PipeRequest kept);
    void GiveBackRequests(std::vector<PipeRequest> requests);

    // The main window whose top-level window is root, or null.
    [[nodiscard]] MainWindow* WindowForRoot(HWND root) const;

    // The lists of the tabs closed in this run, shared by every window as the
    // closed-folder history is.
    [[nodiscard]] ClosedTabHistories& ClosedTabs() { return closedTabs; }

private:
    Application() = default;

    // Removes the window from the list and destroys it; false when it was not listed.
    bool DiscardWindow(MainWindow* window);

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
