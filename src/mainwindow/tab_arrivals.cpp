#include <utility>

#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/tabs/tab_list.h"
#include "settings/settings_file.h"
#include "ui/resize_band.h"
#include "ui/shell_icons.h"
#include "ui/shell_items.h"

namespace {

// How soon a restore held up by an open menu looks again.
constexpr UINT kResumeRestoreMs = 100;
// How long the shell may take over a folder's name before its tab says it is connecting.
constexpr UINT kSlowFolderMs = 1000;

}  // namespace

// Drives have answered: the tabs that waited for them have opened their folders
// or given up.
void MainWindow::OpenReachedFolders() {
    const std::vector<DriveWaits::Typed> typed = driveWaits.OpenAnswered();
    for (const DriveWaits::Typed& answered : typed) {
        const int tab = tabs.IndexOfPanel(answered.panel);
        if (tab >= 0) tabStrip.SetLoading(tab, false);
    }
    if (!StripUpdatesWait()) {
        SyncTabStrip();
        Layout();
        tabSaver.Ask();
    }
    // Last: a failed address's message box lets other messages in, this one's among them.
    for (const DriveWaits::Typed& answered : typed) {
        FilePanel* panel = answered.reached ? answered.panel : nullptr;
        if (!panel || tabs.IndexOfPanel(panel) >= 0) NavigateToTypedFolder(panel, answered.folder);
    }
}

// The saved active tab opens here, the other saved tabs once the window is
// shown. A primary window started for one folder with nothing saved opens just
// that folder, rather than a default tab too; with saved tabs, Create opens it
// once they are on their way. The others are queued before the first one
// opens, so that the restore is not taken for over when that one arrives.
void MainWindow::OpenFirstTab() {
    if (!primary) {
        InsertTab(0, initialPath, initialHistory);
    } else if (!settings.TabPaths.empty()) {
        openOnTopOfRestore = true;
        TabRestore::SavedTab first = restore.Begin(settings.TabPaths, settings.TabHistories, settings.ActiveTab);
        if (restore.HasQueued()) DescribeLater(restore.QueuedFolders());
        InsertTab(0, first.path, first.history);
        restore.FirstOpenedIn(tabs.ActivePanel());
    } else if (initialPath.empty()) {
        OpenPath(std::wstring());
    } else {
        OpenFromInstance(initialPath, initialSelect);
    }
}

// Without a thread to ask the shell on, the tabs keep the names their paths
// give them until they are shown.
void MainWindow::DescribeLater(const std::vector<std::wstring>& folders) {
    static_cast<void>(restore.Describer().Start(folders, hwnd, WM_APP_FOLDERS_DESCRIBED));
    SetTimer(hwnd, kTimerSlowFolders, kSlowFolderMs, nullptr);
}

// A folder the shell is still asked about after a moment is on a slow, remote
// or missing drive: its tab says so until the shell answers or gives up.
void MainWindow::MarkSlowFolders() {
    const FolderDescriber& describer = restore.Describer();
    const bool marked =
        tabs.TitleWaiting([&](const std::wstring& folder) { return describer.Waiting(folder); }, kConnectingTab);
    if (!marked || StripUpdatesWait()) return;
    SyncTabStrip();
    Layout();
}

void MainWindow::RestoreRemainingTabs() {
    if (!restore.HasQueued()) return;
    // A menu open on a tab acts on that tab's index once it returns: tabs put in
    // front of it meanwhile would turn the menu onto another tab.
    if (ModalLoops::MenuLoopRuns()) {
        SetTimer(hwnd, kTimerResumeRestore, kResumeRestoreMs, nullptr);
        return;
    }
    restore.PlaceQueued(tabs);
    tabs.DescribeUnbuilt(restore.Describer().Descriptions());
    SyncTabStrip();
    Layout();
    static_cast<void>(restore.ReleaseIfComplete(tabs));
    tabSaver.Ask();
}

// Either the restored tabs or their folders' descriptions can come first.
void MainWindow::ApplyFolderDescriptions() {
    if (StripUpdatesWait()) return;
    const std::vector<FolderDescription> descriptions = restore.Describer().Descriptions();
    if (descriptions.empty()) return;
    tabs.DescribeUnbuilt(descriptions);
    SyncTabStrip();
    Layout();
}

// A menu open on a tab is left alone: the strip takes what the shell has told
// about its tabs once the menu has returned.
bool MainWindow::StripUpdatesWait() {
    if (!ModalLoops::MenuLoopRuns()) return false;
    SetTimer(hwnd, kTimerResumeStripUpdates, kResumeRestoreMs, nullptr);
    return true;
}

void MainWindow::OnPanelNavigated(FilePanel* panel, const std::wstring& path) {
    if (closing) return;
    host.StartTakeoverCheck(hwnd, settings.Takeover);
    const int index = tabs.IndexOfPanel(panel);
    if (index < 0) return;
    std::wstring folderTitle = DisplayName(panel->GetCurrentItem().get());
    if (folderTitle.empty()) folderTitle = path;
    const std::wstring title = index == tabs.Active() ? search.OnActivePanelNavigated(folderTitle) : folderTitle;
    tabs.At(index).title = title;
    tabStrip.SetTitle(index, title);
    AwaitFolderIcon(panel);
    Layout();
    BorderCursorSubclass(panel->HostWindow());

    // The active tab's bar and the item to select do not wait for the rest of a
    // restore: the folder they belong to has arrived.
    if (index == tabs.Active()) {
        commandBar.SetPath(search.AddressFor(path));
        commandBar.SetSearchPlaceholder(search.Cue(path, folderTitle));
        UpdateNavButtons();
        if (!pendingSelect.empty()) {
            const std::wstring select = std::move(pendingSelect);
            pendingSelect.clear();
            panel->SelectItemByPath(select);
        }
    }
    if (restore.ReleaseIfComplete(tabs)) tabSaver.Ask();
}

// The icon of a folder a tab has arrived at is asked for once the messages
// waiting have been handled: a start then lists its folder first. It is asked
// of the shell once per folder, rather than at every change of the strip for
// every tab.
void MainWindow::AwaitFolderIcon(const FilePanel* panel) {
    if (!panel) return;
    if (iconsAwaited.empty()) PostMessageW(hwnd, WM_APP_RECORD_ICONS, 0, 0);
    iconsAwaited.push_back(panel);
}

void MainWindow::RecordAwaitedIcons() {
    if (iconsAwaited.empty() || StripUpdatesWait()) return;
    for (const FilePanel* panel : std::exchange(iconsAwaited, {})) {
        const int index = tabs.IndexOfPanel(panel);
        if (index < 0) continue;
        TabInfo& tab = tabs.At(index);
        tab.icon = ItemIconIndex(tab.panel->GetCurrentItem().get(), false);
        tabStrip.SetIcon(index, tab.icon);
    }
}

void MainWindow::SyncTabStrip() {
    std::vector<std::wstring> titles;
    std::vector<int> icons;
    for (int i = 0; i < tabs.Count(); ++i) {
        const TabInfo& tab = tabs.At(i);
        titles.push_back(tab.title.empty() ? kUntitledTab : tab.title);
        icons.push_back(tab.icon);
    }
    tabStrip.SetTabs(titles, tabs.Active(), icons);
    tabStrip.SetLoading(tabs.Active(), search.Pending());
}

// A tab that shows search results is saved as the folder searched: the
// results folder may not open again.
void MainWindow::CollectSavedTabs(std::vector<std::wstring>& paths, std::vector<TabHistory>& histories) const {
    tabs.CollectSaved([this](const std::wstring& shown) { return search.AddressFor(shown); }, paths, histories);
}

// The tabs of every window, this one's included. A window whose last tab has just closed
// leaves the saved list as it is, so that it keeps that tab.
void MainWindow::WriteTabList() {
    if (restore.HoldsSaves() || closing || tabs.Empty()) return;
    std::vector<std::wstring> paths;
    std::vector<TabHistory> histories;
    host.CollectSavedTabs(paths, histories);
    if (paths.empty()) return;
    settings.TabPaths = std::move(paths);
    settings.TabHistories = std::move(histories);
    settings.ActiveTab = tabs.SavedActiveIndex();
    // Only the tab lines: this window's copy of the other settings may be older
    // than what another window has written since.
    SaveTabList(settings);
}
