#include <windowsx.h>

#include "app/posted_path.h"
#include "mainwindow/frameless.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "settings/config_backup.h"
#include "settings/save_queue.h"
#include "ui/dark_menu.h"
#include "ui/dark_mode.h"
#include "ui/palette.h"
#include "ui/text.h"

LRESULT MainWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP && OnAppMessage(message, wParam, lParam)) return 0;
    if (moveDrag.OnMessage(hwnd, message, lParam, dpi)) return 0;
    if (const std::optional<LRESULT> answer = AnswerFrameMessage(hwnd, message, wParam, lParam, dpi)) return *answer;
    if (const std::optional<LRESULT> item = AnswerMenuItemDrawing(message, wParam, lParam, dpi)) return *item;
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_DESTROY:
        saveNotice.Hide(hwnd);
        // Destroys this object; nothing of it may be touched afterwards.
        host.WindowDestroyed(*this);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            keptFocus.Remember(hwnd);
        } else {
            host.WindowActivated(*this);
            const FilePanel* panel = tabs.ActivePanel();
            if (!HIWORD(wParam)) keptFocus.Restore(hwnd, panel ? panel->ViewWindow() : nullptr);
        }
        return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_SIZE:
        // A minimised window has no room: laying out into it would squash the panels.
        if (wParam != SIZE_MINIMIZED) Layout();
        return 0;
    case WM_COPYDATA:
        OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return TRUE;
    case WM_ENDSESSION:
        OnSessionEnd(wParam != 0, lParam);
        return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_MOUSEWHEEL: {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (!tabStrip.Hwnd() || WindowFromPoint(point) != tabStrip.Hwnd()) break;
        PostTabSteps(hwnd, stripWheel.Add(GET_WHEEL_DELTA_WPARAM(wParam)));
        return 0;
    }
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ERASEBKGND: {
        const LRESULT erased = EraseWithInk(hwnd, reinterpret_cast<HDC>(wParam), ChromeInk::Face);
        MarkFocusedPane(reinterpret_cast<HDC>(wParam));
        return erased;
    }
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
    case WM_SETTINGCHANGE:
        OnColoursChanged(message);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The program's own messages; false for any other.
bool MainWindow::OnAppMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_APP_OPEN_PATH: {
        // The string belongs to this window from here on and is freed on the way out.
        const std::unique_ptr<std::wstring> path = TakePostedPath(lParam);
        if (path) OpenFromInstance(*path, wParam != 0);
        return true;
    }
    case WM_APP_RELAYOUT: Layout(); return true;
    case WM_APP_TAB_STEP: StepTab(wParam != 0 ? -1 : 1); return true;
    case WM_APP_RESTORE_NEXT: RestoreRemainingTabs(); return true;
    case WM_APP_FOLDERS_REACHED: OpenReachedFolders(); return true;
    case WM_APP_FOLDERS_DESCRIBED: stripSync.ApplyDescriptions(); return true;
    case WM_APP_RECORD_ICONS: stripSync.RecordIcons(); return true;
    case WM_APP_TAKEOVER_QUESTION: {
        const std::unique_ptr<std::wstring> question = TakePostedPath(lParam);
        if (question) AskAboutTakeover(*question);
        return true;
    }
    case WM_APP_SAVE_TABS: tabSaver.SaveIfAsked(); return true;
    case WM_APP_SHOW_SECOND_PANE: ShowSecondPane(); return true;
    // The pane whose menu was used has the focus: the press that opened it gave it.
    case WM_APP_PANE_COMMAND:
        OnPaneCommand(tabs.ActivePanel(), static_cast<FilePanel::PaneCommand>(wParam));
        return true;
    default: return false;
    }
}

void MainWindow::OnDpiChanged(int newDpi, const RECT* suggested) {
    dpi = newDpi;
    tabStrip.SetDpi(dpi);
    if (tabStrip.Hwnd()) InvalidateRect(tabStrip.Hwnd(), nullptr, TRUE);
    commandBar.SetDpi(dpi);
    favBar.SetDpi(static_cast<UINT>(dpi));
    // The system suggests the rectangle that keeps the window as large to the
    // eye on the new monitor, and under the cursor while it is dragged there.
    if (suggested) {
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Layout();
}

// The theme, the system colours or a setting changed. Settings change often;
// only a high-contrast theme coming or going concerns the chrome. The chrome's
// glyphs are then made again in the new colours and everything drawn anew.
void MainWindow::OnColoursChanged(UINT message) {
    if (message == WM_SYSCOLORCHANGE) {
        // Only top-level windows are told; the common controls learn of new
        // colours from their parents.
        EnumChildWindows(
            hwnd,
            [](HWND child, LPARAM) -> BOOL {
                SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
                return TRUE;
            },
            0);
    }
    // Any window may be the first told: the palette is worked out again, and
    // each window compares it with the one it shows. New system colours change
    // the light and high-contrast inks whatever the palette.
    RefreshPalette();
    if (message == WM_SETTINGCHANGE && CurrentPalette() == shownPalette) return;
    ShowPalette();
}

// Everything the window owns takes the current palette, the tabs staying as they are.
void MainWindow::ShowPalette() {
    const bool wasDark = shownPalette == Palette::Dark;
    shownPalette = CurrentPalette();
    const bool dark = shownPalette == Palette::Dark;
    ThemeMenus(dark);
    ThemeFrame(hwnd, dark);
    // The shell's own themes are left alone unless they were made dark here.
    if (dark || wasDark) {
        tabs.ForEachPanel([dark](FilePanel& panel) { ThemeShellView(panel.HostWindow(), dark); });
    }
    tabStrip.OnColoursChanged();
    commandBar.OnColoursChanged();
    favBar.OnColoursChanged();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void MainWindow::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != 1 || !data->lpData) return;
    const std::wstring path = TextUpToNul(data->lpData, data->cbData);
    if (host.TakingHandOffs()) {
        OpenPath(path);
    } else {
        // This window is on its way out and would lose the folder.
        host.KeepHandOff(path);
    }
}

// The session ends without closing windows or ending the message loop: what
// closing and the end of the program would have done has to happen now.
void MainWindow::OnSessionEnd(bool ending, LPARAM reasons) {
    const SessionEndStep step = StepForSessionEnd(ending, reasons);
    if (step == SessionEndStep::Nothing) return;
    SaveBeforeGoing();
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

void MainWindow::CloseForRestart() {
    restarting = true;
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
}

void MainWindow::OnClose() {
    if (modal.HoldClose()) return;
    if (CloseNeedsConfirmation(static_cast<size_t>(tabs.Count()), restarting || closingForInstaller)) {
        const std::wstring question = CloseQuestionText(static_cast<size_t>(tabs.Count()));
        if (modal.ShowMessage(question.c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    }
    host.WindowClosing();
    SaveBeforeGoing();
    closing = true;
    DestroyWindow(hwnd);
}

// A tab save asked for is made at once, and the window's normal rectangle is
// kept for the next window.
void MainWindow::SaveBeforeGoing() {
    tabSaver.SaveIfAsked();
    if (RECT rect{}; NormalScreenRect(hwnd, rect)) settings.SetWindowRect(rect);
}

void MainWindow::OnTimer(UINT_PTR id) {
    switch (id) {
    case kTimerCheckViewWindows:
        if (FilePanel* panel = tabs.ActivePanel()) panel->CheckViewWindows();
        if (FilePanel* other = OtherPanel()) other->CheckViewWindows();
        saveNotice.TellIfDue(hwnd, dpi, [this] { return ComputeLayout().panel; });
        break;
    case kTimerHideSaveNotice:
        saveNotice.Hide(hwnd);
        break;
    case kTimerSlowFolders:
        KillTimer(hwnd, kTimerSlowFolders);
        stripSync.MarkSlowFolders();
        break;
    case kTimerEndRestore:
        host.StartTakeoverCheck(hwnd, settings.Values().Takeover);
        // Saved tabs still being built would be lost from the saved list if a
        // save came before them.
        if (restore.HasQueued()) break;
        KillTimer(hwnd, kTimerEndRestore);
        // A tab whose folder never arrived no longer holds the saves back; those
        // asked for meanwhile are made now.
        restore.Release();
        tabSaver.Ask();
        break;
    case kTimerBackupConfig:
        BackupConfig(settings.Values());
        break;
    case kTimerResumeRestore:
        KillTimer(hwnd, kTimerResumeRestore);
        RestoreRemainingTabs();
        break;
    case kTimerResumeStripUpdates:
        KillTimer(hwnd, kTimerResumeStripUpdates);
        stripSync.ApplyDescriptions();
        stripSync.RecordIcons();
        break;
    case kTimerSearchDelay:
        KillTimer(hwnd, kTimerSearchDelay);
        search.RunSearch();
        break;
    default:
        break;
    }
}
