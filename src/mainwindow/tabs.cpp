#include <shlwapi.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "app/application.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/tab_list.h"
#include "settings/history.h"
#include "settings/settings_file.h"
#include "ui/event_log.h"
#include "ui/paths.h"
#include "ui/resize_band.h"
#include "ui/shell_icons.h"
#include "ui/shell_items.h"

namespace {

// How soon a restore held up by an open menu looks again.
constexpr UINT kResumeRestoreMs = 100;
// How long the shell may take over a folder's name before its tab says it is connecting.
constexpr UINT kSlowFolderMs = 1000;
constexpr wchar_t kConnectingTitle[] = L"正在连接…";

// The folder a tab opens first: its history's current one, else the folder.
const std::wstring& FolderToOpen(const std::wstring& folder, const TabHistory& history) {
    if (history.current >= 0 && history.current < static_cast<int>(history.entries.size())) {
        return history.entries[static_cast<size_t>(history.current)];
    }
    return folder;
}

// Asked of the shell once per folder the tab arrives at, rather than at every
// change of the strip for every tab.
void RecordFolderIcon(TabInfo& tab) {
    if (tab.panel) tab.icon = ItemIconIndex(tab.panel->GetCurrentItem().get(), false);
}

}  // namespace

std::unique_ptr<FilePanel> MainWindow::CreatePanel(HWND parent, int controlId) {
    auto panel = std::make_unique<FilePanel>();
    panel->onNavigated = [this](FilePanel* navigated, const std::wstring& path) { OnPanelNavigated(navigated, path); };
    panel->onOpenInTab = [this](const std::wstring& path) {
        if (!path.empty()) OpenPath(path);
    };
    panel->onOpenInBackgroundTab = [this](const std::wstring& path) { OpenInBackgroundTab(path); };
    // Made where it will stand: laying the control out again costs it a layout
    // of all its panes.
    if (!panel->Create(parent, controlId, ComputeLayout().panel)) return nullptr;
    panel->MarkReady();
    panel->SetPaneVisible(FilePanel::kNavigationPane, settings.NavVisible);
    panel->SetPaneVisible(FilePanel::kPreviewPane, settings.PreviewVisible);
    panel->SetPaneVisible(FilePanel::kDetailsPane, settings.DetailsVisible);
    panel->SetShowFileExt(settings.ShowFileExt);
    return panel;
}

std::wstring MainWindow::DefaultTabFolder() const {
    if (settings.NewTabPath.empty()) return kComputerFolder;
    // One on a share or a slow drive is looked up as the tab opens, not here.
    if (MayKeepWaiting(settings.NewTabPath) || PathFileExistsW(settings.NewTabPath.c_str())) return settings.NewTabPath;
    return kComputerFolder;
}

int MainWindow::InsertTab(int index, const std::wstring& path, const TabHistory& history) {
    return AddTab(index, path.empty() ? DefaultTabFolder() : path, history);
}

std::unique_ptr<FilePanel> MainWindow::MakePanel() {
    std::unique_ptr<FilePanel> panel = CreatePanel(hwnd, kPanelHostControlId);
    if (!panel) ShowMessage(L"Explorer Browser 初始化失败", MB_ICONERROR);
    return panel;
}

int MainWindow::AddTab(int index, const std::wstring& folder, const TabHistory& history) {
    const int count = static_cast<int>(tabs.size());
    if (index < 0 || index > count) index = count;
    std::unique_ptr<FilePanel> panel = MakePanel();
    if (!panel) return -1;
    FilePanel* created = panel.get();
    tabs.insert(tabs.begin() + index, TabInfo{std::wstring(), folder, -1, std::move(panel), {}});
    if (activeTab >= index) ++activeTab;
    ActivateTab(index);
    OpenPanelFolder(created, folder, history);
    SyncTabStrip();
    Layout();
    SaveTabs();
    return index;
}

// A folder on a share or a drive that may be slow is looked up on a thread of
// its own first: its tab says it is connecting, and the window goes on
// answering. The others open at once.
void MainWindow::OpenPanelFolder(FilePanel* panel, const std::wstring& folder, const TabHistory& history) {
    switch (reachability.Reach(FolderToOpen(folder, history))) {
    case FolderReach::Ready:
        OpenPanelFolderNow(panel, folder, history);
        return;
    case FolderReach::Unreachable:
        ForgetUnopenedFolder(panel);
        return;
    case FolderReach::Asking:
        break;
    }
    awaitingDrives.push_back(AwaitedFolder{panel, folder, history});
    const int waiting = TabOfPanel(panel);
    if (waiting >= 0) tabs[static_cast<size_t>(waiting)].title = kConnectingTitle;
}

// A folder that cannot be opened leaves the tab untitled and out of the saved list.
void MainWindow::OpenPanelFolderNow(FilePanel* panel, const std::wstring& folder, const TabHistory& history) {
    if ((!history.Empty() && panel->OpenHistory(history)) || panel->NavigateToPath(folder)) return;
    ForgetUnopenedFolder(panel);
}

void MainWindow::ForgetUnopenedFolder(FilePanel* panel) {
    const int opened = TabOfPanel(panel);
    if (opened < 0) return;
    TabInfo& tab = tabs[static_cast<size_t>(opened)];
    tab.requestedPath.clear();
    tab.title.clear();
    tab.icon = -1;
}

// Drives have answered: the tabs that waited for them open their folders or give up.
void MainWindow::OpenReachedFolders() {
    std::vector<AwaitedFolder> typed;
    for (AwaitedFolder& awaited : std::exchange(awaitingDrives, {})) {
        const FolderReach reach = reachability.Reach(FolderToOpen(awaited.folder, awaited.history));
        const bool ready = reach == FolderReach::Ready;
        if (reach == FolderReach::Asking) {
            awaitingDrives.push_back(std::move(awaited));
        } else if (awaited.typed) {
            const int tab = TabOfPanel(awaited.panel);
            if (tab >= 0) tabStrip.SetLoading(tab, false);
            if (!ready) awaited.panel = nullptr;
            typed.push_back(std::move(awaited));
        } else if (ready) {
            OpenPanelFolderNow(awaited.panel, awaited.folder, awaited.history);
        } else {
            ForgetUnopenedFolder(awaited.panel);
        }
    }
    // Answers are only for the folders that waited: a drive may come or go before the next.
    if (awaitingDrives.empty()) reachability.Forget();
    if (!StripUpdatesWait()) {
        SyncTabStrip();
        Layout();
        SaveTabs();
    }
    // Last: a failed address's message box lets other messages in, this one's among them.
    for (const AwaitedFolder& awaited : typed) {
        if (!awaited.panel || TabOfPanel(awaited.panel) >= 0) NavigateToTypedFolder(awaited.panel, awaited.folder);
    }
}

void MainWindow::InsertUnbuiltTab(int index, const std::wstring& folder, TabHistory history) {
    tabs.insert(tabs.begin() + index, UnbuiltTab(folder, std::move(history)));
    if (activeTab >= index) ++activeTab;
}

TabHistory MainWindow::SavedTabHistory(size_t index) const {
    return index < settings.TabHistories.size() ? settings.TabHistories[index] : TabHistory{};
}

void MainWindow::RememberClosedTab(const TabInfo& tab) {
    Application::Instance().ClosedTabs().Remember(TabHistoryOf(tab));
}

int MainWindow::TabShowing(const std::wstring& path) const {
    for (size_t i = 0; i < tabs.size(); ++i) {
        const std::wstring shown = TabFolder(tabs[i]);
        if (!shown.empty() && SamePath(shown, path)) return static_cast<int>(i);
    }
    return -1;
}

int MainWindow::OpenPath(const std::wstring& path) {
    if (path.empty()) return InsertTab(static_cast<int>(tabs.size()), std::wstring());
    const int shown = TabShowing(path);
    if (shown >= 0) {
        ActivateTab(shown);
        return shown;
    }
    return InsertTab(static_cast<int>(tabs.size()), path);
}

void MainWindow::NewTab() { OpenPath(std::wstring()); }

void MainWindow::OpenInBackgroundTab(const std::wstring& path, TabHistory history) {
    if (path.empty() || activeTab < 0) return;
    const int index = std::min(activeTab + 1 + backgroundTabsOpened, static_cast<int>(tabs.size()));
    InsertUnbuiltTab(index, path, std::move(history));
    DescribeLater({path});
    ++backgroundTabsOpened;
    SyncTabStrip();
    Layout();
    SaveTabs();
}

void MainWindow::DuplicateTab(int index) {
    if (index < 0 || index >= static_cast<int>(tabs.size())) return;
    const TabInfo& tab = tabs[static_cast<size_t>(index)];
    const std::wstring folder = TabFolder(tab);
    if (!folder.empty()) AddTab(index + 1, folder, TabHistoryOf(tab));
}

void MainWindow::CloseTabsOutside(int keepFirst, int keepLast, int focusTab) {
    const int count = static_cast<int>(tabs.size());
    if (keepFirst < 0 || keepLast >= count || keepFirst > keepLast || focusTab < keepFirst || focusTab > keepLast) {
        return;
    }
    std::vector<TabInfo> kept;
    std::vector<TabInfo> closed;
    std::vector<std::wstring> closedFolders;
    for (int i = 0; i < count; ++i) {
        TabInfo& tab = tabs[static_cast<size_t>(i)];
        if (i >= keepFirst && i <= keepLast) {
            kept.push_back(std::move(tab));
            continue;
        }
        closedFolders.push_back(TabFolder(tab));
        RememberClosedTab(tab);
        if (tab.panel.get() == firstRestored) firstRestored = nullptr;
        closed.push_back(std::move(tab));
    }
    PushHistory(std::move(closedFolders), settings.HistoryLimit);
    // As when one tab goes: the closed panels go last, once the list and the
    // active index agree again.
    tabs = std::move(kept);
    backgroundTabsOpened = 0;
    if (activeTab >= keepFirst && activeTab <= keepLast) {
        activeTab -= keepFirst;
    } else {
        activeTab = -1;
        ActivateTab(focusTab - keepFirst);
    }
    SyncTabStrip();
    SaveTabs();
    Layout();
}

FilePanel* MainWindow::ActivePanel() const {
    if (activeTab < 0 || activeTab >= static_cast<int>(tabs.size())) return nullptr;
    return tabs[static_cast<size_t>(activeTab)].panel.get();
}

int MainWindow::TabOfPanel(const FilePanel* panel) const {
    for (size_t i = 0; i < tabs.size(); ++i) {
        if (tabs[i].panel.get() == panel) return static_cast<int>(i);
    }
    return -1;
}

// A tab shown for the first time gets its panel here; its folder opens once it
// is the active tab, so that the bars and a selection waiting for it follow it.
void MainWindow::ActivateTab(int index) {
    if (index < 0 || index >= static_cast<int>(tabs.size()) || index == activeTab) return;
    // A search belongs to the tab it was typed in.
    search.EndSearch();
    FilePanel* opening = nullptr;
    std::wstring folder;
    TabHistory carried;
    if (!tabs[static_cast<size_t>(index)].panel) {
        std::unique_ptr<FilePanel> panel = MakePanel();
        // The message box has let other messages change the tabs meanwhile.
        if (!panel) return;
        opening = panel.get();
        TabInfo& tab = tabs[static_cast<size_t>(index)];
        tab.panel = std::move(panel);
        folder = tab.requestedPath;
        carried = std::exchange(tab.history, {});
    }
    if (FilePanel* previous = ActivePanel()) previous->Deactivate();
    activeTab = index;
    backgroundTabsOpened = 0;
    if (FilePanel* panel = ActivePanel()) panel->Activate(true);
    tabStrip.SetActive(index);
    tabStrip.ClearLoading();
    if (opening) {
        OpenPanelFolder(opening, folder, carried);
        SyncTabStrip();
    }
    Layout();
    UpdateCommandBar();
    SaveTabs();
}

void MainWindow::CloseTab(int index) {
    if (index < 0 || index >= static_cast<int>(tabs.size())) return;
    if (tabs.size() == 1) {
        // The saved list keeps this last folder: an empty collection is never saved.
        {
            const std::vector<TabInfo> closed = std::move(tabs);
            tabs.clear();
            activeTab = -1;
        }
        SyncTabStrip();
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        return;
    }
    const std::wstring path = TabFolder(tabs[static_cast<size_t>(index)]);
    if (!path.empty()) PushHistory(path, settings.HistoryLimit);
    RememberClosedTab(tabs[static_cast<size_t>(index)]);
    TakeTabOut(index);
}

void MainWindow::RemoveTab(int index) {
    if (index < 0 || index >= static_cast<int>(tabs.size())) return;
    TakeTabOut(index);
    if (tabs.empty()) SendMessageW(hwnd, WM_CLOSE, 0, 0);
}

// Drops the tab at index and lets its neighbour take over when it was active.
void MainWindow::TakeTabOut(int index) {
    // The panel goes last, once the list and the active index agree again: its
    // control may send messages while it is torn down.
    const TabInfo removed = std::move(tabs[static_cast<size_t>(index)]);
    tabs.erase(tabs.begin() + index);
    backgroundTabsOpened = 0;
    // The restore places tabs by this panel; once it is gone, a new panel made at
    // its address would take its place and draw the rest of the restore around it.
    if (removed.panel.get() == firstRestored) firstRestored = nullptr;
    std::erase_if(awaitingDrives, [&](const AwaitedFolder& awaited) { return awaited.panel == removed.panel.get(); });
    const ActiveAfterRemoval next = ActiveTabAfterRemoval(index, activeTab, static_cast<int>(tabs.size()));
    if (next.activeRemoved) {
        activeTab = -1;
        ActivateTab(next.index);
    } else {
        activeTab = next.index;
    }
    SyncTabStrip();
    SaveTabs();
    Layout();
}

void MainWindow::MoveTab(int index, POINT dropPoint) {
    if (index < 0 || index >= static_cast<int>(tabs.size())) return;
    const int target = MoveTarget(index, tabStrip.InsertionIndexAt(dropPoint));
    if (target == index) return;
    TabInfo moved = std::move(tabs[static_cast<size_t>(index)]);
    tabs.erase(tabs.begin() + index);
    tabs.insert(tabs.begin() + target, std::move(moved));
    activeTab = ActiveTabAfterMove(index, target, activeTab);
    backgroundTabsOpened = 0;
    SyncTabStrip();
    SaveTabs();
    Layout();
}

void MainWindow::MoveTabToWindow(int index, HWND dropTarget) {
    if (index < 0 || index >= static_cast<int>(tabs.size()) || !dropTarget || !IsWindow(dropTarget)) return;
    MainWindow* other = Application::Instance().WindowForRoot(GetAncestor(dropTarget, GA_ROOT));
    if (!other || other == this) return;
    const TabInfo& moved = tabs[static_cast<size_t>(index)];
    const std::wstring path = TabFolder(moved);
    if (path.empty()) return;
    if (other->AcceptTab(tabStrip.DropPoint(), path, TabHistoryOf(moved)) >= 0) RemoveTab(index);
}

int MainWindow::AcceptTab(POINT screenPoint, const std::wstring& path, const TabHistory& history) {
    return InsertTab(tabStrip.TabIndexAt(screenPoint), path, history);
}

void MainWindow::DetachTab(int index) {
    if (index < 0 || index >= static_cast<int>(tabs.size()) || tabs.size() < 2) return;
    const TabInfo& detached = tabs[static_cast<size_t>(index)];
    const std::wstring path = TabFolder(detached);
    RECT bounds{};
    GetWindowRect(hwnd, &bounds);
    const POINT drop = tabStrip.DropPoint();
    if (Application::Instance().OpenWindow(path, bounds.right - bounds.left, bounds.bottom - bounds.top, drop.x,
                                           drop.y, TabHistoryOf(detached))) {
        RemoveTab(index);
    }
}

void MainWindow::ReopenClosedFolder(bool behind) {
    const std::wstring path = PopHistory(settings.HistoryLimit);
    if (path.empty()) {
        ShowMessage(L"没有可恢复的已关闭目录记录。", MB_ICONINFORMATION);
        return;
    }
    TabHistory history = Application::Instance().ClosedTabs().Take(path);
    const int shown = TabShowing(path);
    if (shown >= 0) {
        if (!behind) ActivateTab(shown);
    } else if (behind) {
        OpenInBackgroundTab(path, std::move(history));
    } else {
        InsertTab(static_cast<int>(tabs.size()), path, history);
    }
}

// The saved active tab opens first. The others wait until it is on screen and
// then come into the strip at once, as records: each gets its panel when it is
// first shown. They are queued before the first one opens, so that the restore
// is not taken for over when that one arrives.
void MainWindow::QueueRestoredTabs() {
    const int first = FirstRestoredTab();
    std::vector<std::wstring> described;
    for (int i = 0; i < static_cast<int>(settings.TabPaths.size()); ++i) {
        if (i == first) continue;
        pendingRestore.push_back(
            PendingTab{settings.TabPaths[static_cast<size_t>(i)], i < first, SavedTabHistory(static_cast<size_t>(i))});
        described.push_back(pendingRestore.back().path);
    }
    if (!described.empty()) DescribeLater(described);
}

// Without a thread to ask the shell on, the tabs keep the names their paths
// give them until they are shown.
void MainWindow::DescribeLater(const std::vector<std::wstring>& folders) {
    static_cast<void>(describer.Start(folders, hwnd, WM_APP_FOLDERS_DESCRIBED));
    SetTimer(hwnd, kTimerSlowFolders, kSlowFolderMs, nullptr);
}

// A folder the shell is still asked about after a moment is on a slow, remote
// or missing drive: its tab says so until the shell answers or gives up.
void MainWindow::MarkSlowFolders() {
    bool marked = false;
    for (TabInfo& tab : tabs) {
        if (tab.panel || !describer.Waiting(tab.requestedPath)) continue;
        tab.title = kConnectingTitle;
        marked = true;
    }
    if (!marked || StripUpdatesWait()) return;
    SyncTabStrip();
    Layout();
}

void MainWindow::RestoreRemainingTabs() {
    if (pendingRestore.empty()) return;
    // A menu open on a tab acts on that tab's index once it returns: tabs put in
    // front of it meanwhile would turn the menu onto another tab.
    if (MenuLoopRuns()) {
        SetTimer(hwnd, kTimerResumeRestore, kResumeRestoreMs, nullptr);
        return;
    }
    // A folder already open is not opened twice.
    std::unordered_set<std::wstring> open;
    for (const TabInfo& tab : tabs) open.insert(PathKey(TabFolder(tab)));
    for (PendingTab& next : pendingRestore) {
        if (!open.insert(PathKey(next.path)).second) continue;
        const int first = TabOfPanel(firstRestored);
        InsertUnbuiltTab(next.beforeFirst && first >= 0 ? first : static_cast<int>(tabs.size()), next.path,
                         std::move(next.history));
    }
    pendingRestore.clear();
    static_cast<void>(DescribeUnbuiltTabs());
    SyncTabStrip();
    Layout();
    if (RestoreComplete()) restoring = false;
    SaveTabs();
}

// Either the restored tabs or their folders' descriptions can come first.
void MainWindow::ApplyFolderDescriptions() {
    if (StripUpdatesWait() || !DescribeUnbuiltTabs()) return;
    SyncTabStrip();
    Layout();
}

// False while the shell has not described the folders yet.
bool MainWindow::DescribeUnbuiltTabs() {
    const std::vector<FolderDescription> descriptions = describer.Descriptions();
    if (descriptions.empty()) return false;
    std::unordered_map<std::wstring, const FolderDescription*> byPath;
    for (const FolderDescription& description : descriptions) byPath.emplace(description.path, &description);
    for (TabInfo& tab : tabs) {
        const auto found = byPath.find(tab.requestedPath);
        if (found != byPath.end()) Describe(tab, *found->second);
    }
    return true;
}

// Until then a save would drop saved tabs that are not back yet.
bool MainWindow::RestoreComplete() const {
    return pendingRestore.empty() && std::all_of(tabs.begin(), tabs.end(), [](const TabInfo& tab) {
               return !tab.panel || tab.requestedPath.empty() || !tab.panel->GetCurrentPath().empty();
           });
}

// A menu open on a tab is left alone: the strip takes what the shell has told
// about its tabs once the menu has returned.
bool MainWindow::StripUpdatesWait() {
    if (!MenuLoopRuns()) return false;
    SetTimer(hwnd, kTimerResumeStripUpdates, kResumeRestoreMs, nullptr);
    return true;
}

// The saved active tab; without a usable one, the last tab, which is where
// opening the saved tabs one after another would have left the activation.
int MainWindow::FirstRestoredTab() const {
    const int saved = settings.ActiveTab;
    const int count = static_cast<int>(settings.TabPaths.size());
    return saved >= 0 && saved < count ? saved : count - 1;
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
    FilePanel* panel = ActivePanel();
    if (!pendingSelect.empty() && panel && SamePath(panel->GetCurrentPath(), folder)) {
        const std::wstring item = std::move(pendingSelect);
        pendingSelect.clear();
        panel->SelectItemByPath(item);
    }
}

void MainWindow::OnPanelNavigated(FilePanel* panel, const std::wstring& path) {
    if (closing) return;
    Application::Instance().StartTakeoverCheck(hwnd, settings.Takeover);
    const int index = TabOfPanel(panel);
    if (index < 0) return;
    std::wstring folderTitle = DisplayName(panel->GetCurrentItem().get());
    if (folderTitle.empty()) folderTitle = path;
    const std::wstring title = index == activeTab ? search.OnActivePanelNavigated(folderTitle) : folderTitle;
    tabs[static_cast<size_t>(index)].title = title;
    tabStrip.SetTitle(index, title);
    AwaitFolderIcon(panel);
    Layout();
    BorderCursorSubclass(panel->HostWindow());

    // The active tab's bar and the item to select do not wait for the rest of a
    // restore: the folder they belong to has arrived.
    if (index == activeTab) {
        commandBar.SetPath(search.AddressFor(path));
        commandBar.SetSearchPlaceholder(SearchCue(path, folderTitle));
        UpdateNavButtons();
        if (!pendingSelect.empty()) {
            const std::wstring select = std::move(pendingSelect);
            pendingSelect.clear();
            panel->SelectItemByPath(select);
        }
    }
    if (restoring) {
        if (!RestoreComplete()) return;
        restoring = false;
    }
    SaveTabs();
}

// The icon of a folder a tab has arrived at is asked for once the messages
// waiting have been handled: a start then lists its folder first.
void MainWindow::AwaitFolderIcon(const FilePanel* panel) {
    if (!panel) return;
    if (iconsAwaited.empty()) PostMessageW(hwnd, WM_APP_RECORD_ICONS, 0, 0);
    iconsAwaited.push_back(panel);
}

void MainWindow::RecordAwaitedIcons() {
    if (iconsAwaited.empty() || StripUpdatesWait()) return;
    const std::vector<const FilePanel*> awaited = std::move(iconsAwaited);
    iconsAwaited.clear();
    for (const FilePanel* panel : awaited) {
        const int index = TabOfPanel(panel);
        if (index < 0) continue;
        RecordFolderIcon(tabs[static_cast<size_t>(index)]);
        tabStrip.SetIcon(index, tabs[static_cast<size_t>(index)].icon);
    }
}

void MainWindow::SyncTabStrip() {
    std::vector<std::wstring> titles;
    std::vector<int> icons;
    titles.reserve(tabs.size());
    icons.reserve(tabs.size());
    for (const TabInfo& tab : tabs) {
        titles.push_back(tab.title.empty() ? kUntitledTab : tab.title);
        icons.push_back(tab.icon);
    }
    tabStrip.SetTabs(titles, activeTab, icons);
    tabStrip.SetLoading(activeTab, search.Pending());
}

void MainWindow::SetActiveTabTitle(const std::wstring& title) {
    if (activeTab < 0) return;
    TabInfo& tab = tabs[static_cast<size_t>(activeTab)];
    tab.title = title;
    tabStrip.SetTitle(activeTab, title);
    AwaitFolderIcon(tab.panel.get());
    Layout();
}

// A tab that shows search results is saved as the folder searched: the
// results folder may not open again.
void MainWindow::CollectSavedTabs(std::vector<std::wstring>& paths, std::vector<TabHistory>& histories) const {
    for (size_t i = 0; i < tabs.size(); ++i) {
        std::wstring path = TabFolder(tabs[i]);
        if (static_cast<int>(i) == activeTab) path = search.AddressFor(path);
        if (path.empty()) continue;
        paths.push_back(std::move(path));
        histories.push_back(TabHistoryOf(tabs[i]));
    }
}

// The active tab's place among the tabs that are saved.
int MainWindow::SavedActiveTab() const {
    int saved = 0;
    for (int i = 0; i < activeTab && i < static_cast<int>(tabs.size()); ++i) {
        if (!TabFolder(tabs[static_cast<size_t>(i)]).empty()) ++saved;
    }
    return saved;
}

// Every window is listed with the application before it is created, so the tabs
// of all windows, this one's included, are in the list.
void MainWindow::CollectAllWindowsTabs(std::vector<std::wstring>& paths, std::vector<TabHistory>& histories) const {
    for (const auto& window : Application::Instance().Windows()) window->CollectSavedTabs(paths, histories);
}

void MainWindow::SaveTabs() {
    if (tabsSavePosted) return;
    tabsSavePosted = PostMessageW(hwnd, WM_APP_SAVE_TABS, 0, 0) != FALSE;
    if (!tabsSavePosted) SaveTabsNow();
}

void MainWindow::SaveTabsIfAsked() {
    if (tabsSavePosted && !tabs.empty()) SaveTabsNow();
}

void MainWindow::SaveTabsNow() {
    tabsSavePosted = false;
    if (restoring || closing) return;
    std::vector<std::wstring> paths;
    std::vector<TabHistory> histories;
    CollectAllWindowsTabs(paths, histories);
    if (paths.empty()) return;
    settings.TabPaths = std::move(paths);
    settings.TabHistories = std::move(histories);
    settings.ActiveTab = activeTab >= 0 ? SavedActiveTab() : activeTab;
    // Only the tab lines: this window's copy of the other settings may be older
    // than what another window has written since.
    SaveTabList(settings);
}

void MainWindow::StepTab(int step) {
    if (tabs.size() < 2 || activeTab < 0) return;
    ActivateTab(SteppedTab(activeTab, step, static_cast<int>(tabs.size())));
}
