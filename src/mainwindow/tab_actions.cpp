#include <utility>

#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/tabs/closed_tab_histories.h"
#include "mainwindow/tabs/tab_list.h"
#include "settings/history.h"
#include "ui/event_log.h"
#include "ui/paths.h"

std::unique_ptr<FilePanel> MainWindow::MakePanel(int controlId, const RECT& bounds) {
    auto panel = std::make_unique<FilePanel>();
    panel->onNavigated = [this](FilePanel* navigated, const std::wstring& path) { OnPanelNavigated(navigated, path); };
    panel->onOpenInTab = [this](const std::wstring& path) {
        if (!path.empty()) OpenPath(path);
    };
    panel->onOpenInBackgroundTab = [this](const std::wstring& path) { OpenInBackgroundTab(path); };
    // Posted: a copy's progress runs a loop in which the asking pane may be closed.
    panel->onPaneCommand = [this](FilePanel*, FilePanel::PaneCommand command) {
        PostMessageW(hwnd, WM_APP_PANE_COMMAND, static_cast<WPARAM>(command), 0);
    };
    // Made where it will stand: laying the control out again costs it a layout
    // of all its panes.
    if (!panel->Create(hwnd, controlId, bounds)) {
        // Gone before the message box lets other messages in.
        panel.reset();
        modal.ShowMessage(L"Explorer Browser 初始化失败", MB_ICONERROR);
        return nullptr;
    }
    panel->MarkReady();
    panel->SetPaneVisible(FilePanel::kNavigationPane, settings.Values().NavVisible);
    panel->SetPaneVisible(FilePanel::kPreviewPane, settings.Values().PreviewVisible);
    panel->SetPaneVisible(FilePanel::kDetailsPane, settings.Values().DetailsVisible);
    panel->SetShowFileExt(settings.Values().ShowFileExt);
    return panel;
}

int MainWindow::InsertTab(int index, const std::wstring& path, const TabState& state) {
    const std::wstring folder = path.empty() ? DefaultTabFolder(settings.Values().NewTabPath) : path;
    std::unique_ptr<FilePanel> panel = MakePanel(kPanelHostControlId, FirstPaneBounds(state.split));
    if (!panel) return -1;
    FilePanel* created = panel.get();
    TabInfo tab;
    tab.requestedPath = folder;
    tab.panel = std::move(panel);
    tab.split = state.split;
    tab.marks = state.marks;
    index = tabs.Insert(index, std::move(tab));
    ActivateTab(index);
    driveWaits.Open(created, folder, state.history);
    stripSync.Sync();
    Layout();
    tabSaver.Ask();
    return index;
}

int MainWindow::OpenPath(const std::wstring& path) {
    if (path.empty()) return InsertTab(tabs.Count(), std::wstring());
    const int shown = tabs.IndexShowing(path);
    if (shown >= 0) {
        ActivateTab(shown);
        return shown;
    }
    return InsertTab(tabs.Count(), path);
}

void MainWindow::OpenInBackgroundTab(const std::wstring& path, TabState state) {
    if (path.empty() || tabs.Active() < 0) return;
    tabs.Insert(tabs.TakeBackgroundSlot(), UnbuiltTab(path, std::move(state)));
    stripSync.DescribeLater({path});
    stripSync.Sync();
    Layout();
    tabSaver.Ask();
}

// A copy is a tab like any other: what the user pinned stays the one pinned.
void MainWindow::DuplicateTab(int index) {
    const std::wstring folder = tabs.FolderAt(index);
    if (folder.empty()) return;
    TabState state = TabStateOf(tabs.At(index));
    state.marks.pinned = false;
    InsertTab(index + 1, folder, state);
}

// Closed tabs, and panels of tabs moved elsewhere, go last, once the list and
// the active index agree again: a control may send messages while it is torn down.
void MainWindow::AfterRemoval(const TabSet::Removal& removal) {
    for (const TabInfo& tab : removal.tabs) {
        for (const FilePanel* panel : {tab.panel.get(), tab.second.get()}) {
            restore.PanelGone(panel);
            driveWaits.PanelGone(panel);
        }
    }
    if (removal.activate >= 0) ActivateTab(removal.activate);
    stripSync.Sync();
    tabSaver.Ask();
    Layout();
}

void MainWindow::CloseTabsOutside(int keepFirst, int keepLast, int focusTab) {
    if (keepFirst < 0 || keepLast >= tabs.Count() || keepFirst > keepLast || focusTab < keepFirst ||
        focusTab > keepLast) {
        return;
    }
    const TabSet::Removal closed = tabs.KeepOnly(keepFirst, keepLast, focusTab);
    std::vector<std::wstring> closedFolders;
    for (const TabInfo& tab : closed.tabs) {
        closedFolders.push_back(TabFolder(tab));
        host.ClosedTabs().Remember(TabStateOf(tab));
    }
    PushHistory(std::move(closedFolders), settings.Values().HistoryLimit);
    AfterRemoval(closed);
}

// A tab shown for the first time gets its panel here; its folder opens once it
// is the active tab, so that the bars and a selection waiting for it follow it.
void MainWindow::ActivateTab(int index) {
    if (!tabs.Has(index) || index == tabs.Active()) return;
    // A search belongs to the tab it was typed in.
    search.EndSearch();
    FilePanel* opening = nullptr;
    std::wstring folder;
    TabHistory carried;
    if (!tabs.At(index).panel) {
        std::unique_ptr<FilePanel> panel = MakePanel(kPanelHostControlId, FirstPaneBounds(tabs.At(index).split));
        // The message box has let other messages change the tabs meanwhile.
        if (!panel) return;
        opening = panel.get();
        TabInfo& tab = tabs.At(index);
        tab.panel = std::move(panel);
        folder = tab.requestedPath;
        carried = std::exchange(tab.history, {});
    }
    if (FilePanel* previous = tabs.ActivePanel()) previous->Deactivate();
    if (FilePanel* previous = OtherPanel()) previous->Deactivate();
    tabs.SetActive(index);
    if (FilePanel* other = OtherPanel()) other->Activate(false);
    if (FilePanel* panel = tabs.ActivePanel()) panel->Activate(true);
    tabStrip.SetActive(index);
    tabStrip.ClearLoading();
    if (opening) {
        driveWaits.Open(opening, folder, carried);
        stripSync.Sync();
    }
    // A split tab shown for the first time gets its second pane once its
    // first pane's folder is on its way.
    if (tabs.At(index).split.split && !tabs.At(index).second) PostMessageW(hwnd, WM_APP_SHOW_SECOND_PANE, 0, 0);
    Layout();
    UpdateCommandBar();
    tabSaver.Ask();
}

void MainWindow::CloseTab(int index) {
    if (!tabs.Has(index)) return;
    if (tabs.Count() == 1) {
        // The saved list keeps this last folder: an empty collection is never saved.
        AfterRemoval(tabs.TakeAll());
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        return;
    }
    const std::wstring path = tabs.FolderAt(index);
    if (!path.empty()) PushHistory(path, settings.Values().HistoryLimit);
    // Kept for the folder to be opened with again.
    host.ClosedTabs().Remember(TabStateOf(tabs.At(index)));
    AfterRemoval(tabs.Remove(index));
}

void MainWindow::RemoveTab(int index) {
    if (!tabs.Has(index)) return;
    AfterRemoval(tabs.Remove(index));
    if (tabs.Empty()) SendMessageW(hwnd, WM_CLOSE, 0, 0);
}

void MainWindow::MoveTab(int index, POINT dropPoint) {
    if (!tabs.Has(index) || !tabs.Move(index, MoveTarget(index, tabStrip.InsertionIndexAt(dropPoint)))) return;
    stripSync.Sync();
    tabSaver.Ask();
    Layout();
}

void MainWindow::MoveTabToWindow(int index, POINT dropPoint, HWND otherStrip) {
    if (!tabs.Has(index) || !otherStrip || !IsWindow(otherStrip)) return;
    const std::wstring path = tabs.FolderAt(index);
    if (path.empty()) return;
    if (host.GiveTab(GetAncestor(otherStrip, GA_ROOT), *this, dropPoint, path, TabStateOf(tabs.At(index)))) {
        RemoveTab(index);
    }
}

int MainWindow::AcceptTab(POINT screenPoint, const std::wstring& path, const TabState& state) {
    return InsertTab(tabStrip.TabIndexAt(screenPoint), path, state);
}

void MainWindow::DetachTab(int index, POINT dropPoint) {
    if (!tabs.Has(index) || tabs.Count() < 2) return;
    const std::wstring path = tabs.FolderAt(index);
    RECT bounds{};
    GetWindowRect(hwnd, &bounds);
    if (host.OpenWindow(path, bounds.right - bounds.left, bounds.bottom - bounds.top, dropPoint.x, dropPoint.y,
                        TabStateOf(tabs.At(index)))) {
        RemoveTab(index);
    }
}

void MainWindow::ReopenClosedFolder(bool behind) {
    const std::wstring path = PopHistory(settings.Values().HistoryLimit);
    if (path.empty()) {
        modal.ShowMessage(L"没有可恢复的已关闭目录记录。", MB_ICONINFORMATION);
        return;
    }
    TabState state = host.ClosedTabs().Take(path);
    const int shown = tabs.IndexShowing(path);
    if (shown >= 0) {
        if (!behind) ActivateTab(shown);
    } else if (behind) {
        OpenInBackgroundTab(path, std::move(state));
    } else {
        InsertTab(tabs.Count(), path, state);
    }
}

void MainWindow::StepTab(int step) {
    if (tabs.Count() < 2 || tabs.Active() < 0) return;
    ActivateTab(SteppedTab(tabs.Active(), step, tabs.Count()));
}

void MainWindow::OpenFromInstance(const std::wstring& path, bool select) {
    LogEvent(select ? L"asked to open and select" : L"asked to open", path);
    if (!select) {
        OpenPath(path);
        return;
    }
    const std::wstring folder = FolderToShowForSelection(path);
    pendingSelect = path;
    OpenPath(folder);
    // A tab that already showed the folder does not arrive there again: the
    // item is selected now rather than at some later navigation.
    FilePanel* panel = tabs.ActivePanel();
    if (!pendingSelect.empty() && panel && SamePath(panel->GetCurrentPath(), folder)) {
        const std::wstring item = std::move(pendingSelect);
        pendingSelect.clear();
        panel->SelectItemByPath(item);
    }
}
