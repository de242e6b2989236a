#include <windowsx.h>

#include "app/application.h"
#include "app/instance_channel.h"
#include "app/posted_path.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "settings/config_backup.h"
#include "settings/save_queue.h"
#include "settings/settings_file.h"
#include "ui/high_contrast.h"

LRESULT MainWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_DESTROY:
        saveNotice.Hide();
        PassOnPendingOpens();
        // Destroys this object; nothing of it may be touched afterwards.
        Application::Instance().OnWindowDestroyed(this);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            RememberFocus();
        } else {
            Application::Instance().SetActiveWindow(this);
            if (!HIWORD(wParam)) RestoreFocus();
        }
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_GETMINMAXINFO: {
        const SIZE minimum = MinimumTrackSize(dpi);
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{minimum.cx, minimum.cy};
        return 0;
    }
    case WM_SIZE:
        // A minimised window has no room: laying out into it would squash the panels.
        if (wParam != SIZE_MINIMIZED) Layout();
        return 0;
    case WM_COPYDATA:
        OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return TRUE;
    case WM_NCCALCSIZE:
        return OnNcCalcSize(wParam, lParam);
    case WM_NCHITTEST:
        return OnNcHitTest(lParam);
    case WM_NCPAINT:
        return 0;
    case WM_NCACTIVATE:
        return TRUE;
    case WM_ENDSESSION:
        OnSessionEnd(wParam != 0, lParam);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_LBUTTONDOWN:
        if (OnMoveStripButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) return 0;
        break;
    case WM_MOUSEMOVE:
        if (!dragging) break;
        OnMoveStripMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        if (!dragging) break;
        dragging = false;
        ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        dragging = false;
        break;
    case WM_MOUSEWHEEL: {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (!tabStrip.Hwnd() || WindowFromPoint(point) != tabStrip.Hwnd()) break;
        PostTabSteps(hwnd, stripWheel.Add(GET_WHEEL_DELTA_WPARAM(wParam)));
        return 0;
    }
    case WM_DPICHANGED: {
        dpi = HIWORD(wParam);
        tabStrip.SetDpi(dpi);
        if (tabStrip.Hwnd()) InvalidateRect(tabStrip.Hwnd(), nullptr, TRUE);
        commandBar.SetDpi(dpi);
        favBar.SetDpi(static_cast<UINT>(dpi));
        // The system suggests the rectangle that keeps the window as large to
        // the eye on the new monitor, and under the cursor while it is dragged there.
        if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
            SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        Layout();
        return 0;
    }
    case WM_SYSCOLORCHANGE:
        // Only top-level windows are told; the common controls learn of new
        // colours from their parents.
        EnumChildWindows(
            hwnd,
            [](HWND child, LPARAM) -> BOOL {
                SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
                return TRUE;
            },
            0);
        [[fallthrough]];
    case WM_THEMECHANGED:
        RefreshHighContrast();
        OnColoursChanged();
        break;
    case WM_SETTINGCHANGE: {
        // Settings change often; only a high-contrast theme coming or going concerns the chrome.
        const bool before = HighContrastOn();
        RefreshHighContrast();
        if (HighContrastOn() != before) OnColoursChanged();
        break;
    }
    case WM_APP_OPEN_PATH: {
        // The string belongs to this window from here on and is freed on the way out.
        const std::unique_ptr<std::wstring> path = TakePostedPath(lParam);
        if (path) OpenFromInstance(*path, wParam != 0);
        return 0;
    }
    case WM_APP_RELAYOUT:
        Layout();
        return 0;
    case WM_APP_TAB_STEP:
        StepTab(wParam != 0 ? -1 : 1);
        return 0;
    case WM_APP_RESTORE_NEXT:
        RestoreRemainingTabs();
        return 0;
    case WM_APP_FOLDERS_REACHED:
        OpenReachedFolders();
        return 0;
    case WM_APP_FOLDERS_DESCRIBED:
        ApplyFolderDescriptions();
        return 0;
    case WM_APP_RECORD_ICONS:
        RecordAwaitedIcons();
        return 0;
    case WM_APP_TAKEOVER_QUESTION: {
        const std::unique_ptr<std::wstring> question = TakePostedPath(lParam);
        if (question) AskAboutTakeover(*question);
        return 0;
    }
    case WM_APP_SAVE_TABS:
        if (tabsSavePosted) SaveTabsNow();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The chrome's glyphs are made again in the new colours and everything drawn anew.
void MainWindow::OnColoursChanged() {
    tabStrip.OnColoursChanged();
    commandBar.OnColoursChanged();
    favBar.OnColoursChanged();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// The keyboard focus is the window's own business while it is inactive; coming
// back, it returns to where it was, or to the folder view.
void MainWindow::RememberFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd, focus)) focusBeforeDeactivation = focus;
}

void MainWindow::RestoreFocus() {
    if (focusBeforeDeactivation && IsWindow(focusBeforeDeactivation) && IsChild(hwnd, focusBeforeDeactivation)) {
        SetFocus(focusBeforeDeactivation);
    } else if (FilePanel* panel = ActivePanel(); panel && panel->ViewWindow()) {
        SetFocus(panel->ViewWindow());
    }
}

// Folders handed to this window that it has not opened yet go to another
// window, or back to the instance, which opens a window for them.
void MainWindow::PassOnPendingOpens() {
    HWND heir = nullptr;
    for (const auto& window : Application::Instance().Windows()) {
        if (window.get() != this && window->Hwnd()) heir = window->Hwnd();
    }
    std::vector<PipeRequest> unopened;
    MSG pending{};
    while (PeekMessageW(&pending, hwnd, WM_APP_OPEN_PATH, WM_APP_OPEN_PATH, PM_REMOVE)) {
        if (heir && PostMessageW(heir, WM_APP_OPEN_PATH, pending.wParam, pending.lParam)) continue;
        if (std::unique_ptr<std::wstring> path = TakePostedPath(pending.lParam)) {
            unopened.push_back(PipeRequest{std::move(*path), pending.wParam != 0});
        }
    }
    if (!unopened.empty()) Application::Instance().GiveBackRequests(std::move(unopened));
}

void MainWindow::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != 1 || !data->lpData) return;
    std::wstring path = TextUpToNul(data->lpData, data->cbData);
    Application& application = Application::Instance();
    if (application.TakingHandOffs()) {
        OpenPath(path);
    } else {
        // This window is on its way out and would lose the folder.
        application.KeepRequest(PipeRequest{std::move(path), false});
    }
}

// The session ends without closing windows or ending the message loop: what
// closing and the end of the program would have done has to happen now.
void MainWindow::OnSessionEnd(bool ending, LPARAM reasons) {
    const SessionEndStep step = StepForSessionEnd(ending, reasons);
    if (step == SessionEndStep::Nothing) return;
    SaveTabsIfAsked();
    SaveNormalRect();
    // The process may be ended any time after this returns. While the files are
    // written a log-off that waits for us says why.
    ShutdownBlockReasonCreate(hwnd, L"Quorlen 正在保存标签页和设置");
    FlushSaves();
    ShutdownBlockReasonDestroy(hwnd);
    if (step == SessionEndStep::SaveAndClose) {
        // Posted: the Restart Manager waits for the process to end, and the close
        // must not run inside its message.
        closingForInstaller = true;
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
}

void MainWindow::OnClose() {
    if (openModalLoops > 0) {
        closeDeferred = true;
        return;
    }
    if (CloseNeedsConfirmation(tabs.size(), restarting || closingForInstaller)) {
        const std::wstring question = CloseQuestionText(tabs.size());
        if (ShowMessage(question.c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    }
    // The last window: folders handed over from now on could not open here, so
    // none is taken before the files are written and the window goes.
    Application& application = Application::Instance();
    if (application.Windows().size() == 1) application.StopTakingHandOffs();
    SaveTabsIfAsked();
    SaveNormalRect();
    closing = true;
    DestroyWindow(hwnd);
}

int MainWindow::ShowMessage(const wchar_t* text, UINT type) {
    ++openModalLoops;
    const int answer = MessageBoxW(hwnd, text, kAppTitle, type);
    EndModalLoop();
    return answer;
}

bool MainWindow::MenuLoopRuns() {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    return GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE) != 0;
}

void MainWindow::EndModalLoop() {
    --openModalLoops;
    if (openModalLoops == 0 && closeDeferred) {
        closeDeferred = false;
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
}

// A maximised or minimised window saves the rectangle it returns to, not its
// current one; the maximised state itself is not kept.
void MainWindow::SaveNormalRect() const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(hwnd, &placement)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
        monitor.rcMonitor = monitor.rcWork = RECT{};
    }
    SaveWindowRect(WorkspaceToScreen(placement.rcNormalPosition, monitor.rcMonitor, monitor.rcWork));
}

void MainWindow::OnTimer(UINT_PTR id) {
    switch (id) {
    case kTimerCheckViewWindows:
        if (FilePanel* panel = ActivePanel()) panel->CheckViewWindows();
        TellOfSaveFailure();
        break;
    case kTimerHideSaveNotice:
        KillTimer(hwnd, kTimerHideSaveNotice);
        saveNotice.Hide();
        break;
    case kTimerSlowFolders:
        KillTimer(hwnd, kTimerSlowFolders);
        MarkSlowFolders();
        break;
    case kTimerEndRestore:
        Application::Instance().StartTakeoverCheck(hwnd, settings.Takeover);
        // Saved tabs still being built would be lost from the saved list if a
        // save came before them.
        if (!pendingRestore.empty()) break;
        KillTimer(hwnd, kTimerEndRestore);
        // A tab whose folder never arrived no longer holds the saves back; those
        // asked for meanwhile are made now.
        restoring = false;
        SaveTabs();
        break;
    case kTimerBackupConfig:
        BackupConfig(settings);
        break;
    case kTimerResumeRestore:
        KillTimer(hwnd, kTimerResumeRestore);
        RestoreRemainingTabs();
        break;
    case kTimerResumeStripUpdates:
        KillTimer(hwnd, kTimerResumeStripUpdates);
        ApplyFolderDescriptions();
        RecordAwaitedIcons();
        break;
    case kTimerSearchDelay:
        KillTimer(hwnd, kTimerSearchDelay);
        search.RunSearch();
        break;
    default:
        break;
    }
}

// The first rectangle arrives as the proposed window rectangle and leaves as
// the client rectangle: the whole window, so there is no frame to draw. The
// window is made with its client so computed too (that message comes without
// the flag): else the frame change after it would resize everything in it,
// and the shell control would lay out all its panes a second time.
LRESULT MainWindow::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    RECT& rect = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
    const RECT proposed = rect;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    const bool known = GetMonitorInfoW(MonitorFromRect(&proposed, MONITOR_DEFAULTTONEAREST), &monitor);
    rect = ClientRectForWindow(proposed, known ? &monitor.rcWork : nullptr);
    return 0;
}

LRESULT MainWindow::OnNcHitTest(LPARAM lParam) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    return FrameHitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, window, dpi, IsZoomed(hwnd) != FALSE);
}

bool MainWindow::OnMoveStripButtonDown(POINT clientPoint) {
    if (IsZoomed(hwnd)) return false;
    RECT client{};
    GetClientRect(hwnd, &client);
    if (!InMoveStrip(clientPoint, SIZE{client.right, client.bottom}, dpi)) return false;
    dragging = true;
    dragMoved = false;
    dragStart = clientPoint;
    SetCapture(hwnd);
    return true;
}

void MainWindow::OnMoveStripMouseMove(POINT clientPoint) {
    if (!dragMoved && PassedMoveThreshold(dragStart, clientPoint, dpi)) dragMoved = true;
    if (!dragMoved) return;
    POINT screen = clientPoint;
    ClientToScreen(hwnd, &screen);
    SetWindowPos(hwnd, nullptr, screen.x - dragStart.x, screen.y - dragStart.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
