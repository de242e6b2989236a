#include <utility>

#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/tabs/tab_list.h"
#include "ui/resize_band.h"
#include "ui/shell_items.h"

namespace {

// How soon a restore held up by an open menu looks again.
constexpr UINT kResumeRestoreMs = 100;

}  // namespace

// Drives have answered: the tabs that waited for them have opened their folders
// or given up.
void MainWindow::OpenReachedFolders() {
    const std::vector<DriveWaits::Typed> typed = driveWaits.OpenAnswered();
    for (const DriveWaits::Typed& answered : typed) {
        const int tab = tabs.IndexOfPanel(answered.panel);
        if (tab >= 0) tabStrip.SetLoading(tab, false);
    }
    if (!stripSync.UpdatesWait()) {
        stripSync.Sync();
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
        InsertTab(0, initialPath, initialState);
    } else if (const Settings& saved = settings.Values(); !saved.TabPaths.empty()) {
        openOnTopOfRestore = true;
        // A copy of the first, not a reference into the saved list: opening it
        // may save the tabs anew.
        const TabRestore::SavedTab first =
            restore.Begin(SavedTabs{saved.TabPaths, saved.TabHistories, saved.TabSplits, saved.TabMarkings},
                          saved.ActiveTab);
        if (restore.HasQueued()) stripSync.DescribeLater(restore.QueuedFolders());
        InsertTab(0, first.path, first.state);
        if (tabs.Has(tabs.Active())) restore.FirstOpenedIn(tabs.At(tabs.Active()).panel.get());
    } else if (initialPath.empty()) {
        OpenPath(std::wstring());
    } else {
        OpenFromInstance(initialPath, initialSelect);
    }
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
    stripSync.Sync();
    Layout();
    static_cast<void>(restore.ReleaseIfComplete(tabs));
    tabSaver.Ask();
}

void MainWindow::OnPanelNavigated(FilePanel* panel, const std::wstring& path) {
    if (closing) return;
    host.StartTakeoverCheck(hwnd, settings.Values().Takeover);
    const int index = tabs.IndexOfPanel(panel);
    if (index < 0) return;
    BorderCursorSubclass(panel->HostWindow());
    // The pane of a split tab without the focus goes its own way unseen by the bars.
    if (panel != FocusedPanel(tabs.At(index))) {
        if (restore.ReleaseIfComplete(tabs)) tabSaver.Ask();
        return;
    }
    std::wstring folderTitle = DisplayName(panel->GetCurrentItem().get());
    if (folderTitle.empty()) folderTitle = path;
    const std::wstring title = index == tabs.Active() ? search.OnActivePanelNavigated(folderTitle) : folderTitle;
    tabs.At(index).title = title;
    stripSync.Retitle();
    stripSync.AwaitIcon(panel);
    Layout();

    // The active tab's bar and the item to select do not wait for the rest of a
    // restore: the folder they belong to has arrived.
    if (panel == tabs.ActivePanel()) {
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

// A tab that shows search results is saved as the folder searched: the
// results folder may not open again.
void MainWindow::CollectSavedTabs(SavedTabs& saved) const {
    tabs.CollectSaved([this](const std::wstring& shown) { return search.AddressFor(shown); }, saved);
}

// The tabs of every window, this one's included. A window whose last tab has
// just closed leaves the saved list as it is, so that it keeps that tab.
void MainWindow::WriteTabList() {
    if (restore.HoldsSaves() || closing || tabs.Empty()) return;
    SavedTabs saved;
    host.CollectSavedTabs(saved);
    if (saved.paths.empty()) return;
    settings.SetTabs(std::move(saved), tabs.SavedActiveIndex());
}
