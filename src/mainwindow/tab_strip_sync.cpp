#include "mainwindow/tab_strip_sync.h"

#include <utility>

#include "mainwindow/main_window_ids.h"
#include "mainwindow/tabs/tab_list.h"
#include "ui/modal_loops.h"
#include "ui/shell_icons.h"

namespace {

// How soon an update held up by an open menu looks again.
constexpr UINT kResumeStripUpdatesMs = 100;
// How long the shell may take over a folder's name before its tab says it is connecting.
constexpr UINT kSlowFolderMs = 1000;

}  // namespace

TabStripSync::TabStripSync(HWND& window, TabStrip& strip, TabSet& tabs, TabRestore& restore,
                           const FolderSearch& search, std::function<void()> relayout)
    : window(window), strip(strip), tabs(tabs), restore(restore), search(search), relayout(std::move(relayout)) {}

void TabStripSync::Sync() {
    std::vector<std::wstring> titles;
    std::vector<int> icons;
    for (int i = 0; i < tabs.Count(); ++i) {
        const TabInfo& tab = tabs.At(i);
        titles.push_back(tab.title.empty() ? kUntitledTab : tab.title);
        icons.push_back(tab.icon);
    }
    strip.SetTabs(titles, tabs.Active(), icons);
    strip.SetLoading(tabs.Active(), search.Pending());
}

// Without a thread to ask the shell on, the tabs keep the names their paths
// give them until they are shown.
void TabStripSync::DescribeLater(const std::vector<std::wstring>& folders) {
    static_cast<void>(restore.Describer().Start(folders, window, WM_APP_FOLDERS_DESCRIBED));
    SetTimer(window, kTimerSlowFolders, kSlowFolderMs, nullptr);
}

// Either the restored tabs or their folders' descriptions can come first.
void TabStripSync::ApplyDescriptions() {
    if (UpdatesWait()) return;
    const std::vector<FolderDescription> descriptions = restore.Describer().Descriptions();
    if (descriptions.empty()) return;
    tabs.DescribeUnbuilt(descriptions);
    Sync();
    relayout();
}

// A folder the shell is still asked about after a moment is on a slow, remote
// or missing drive: its tab says so until the shell answers or gives up.
void TabStripSync::MarkSlowFolders() {
    const FolderDescriber& describer = restore.Describer();
    const bool marked =
        tabs.TitleWaiting([&](const std::wstring& folder) { return describer.Waiting(folder); }, kConnectingTab);
    if (!marked || UpdatesWait()) return;
    Sync();
    relayout();
}

void TabStripSync::AwaitIcon(const FilePanel* panel) {
    if (!panel) return;
    if (iconsAwaited.empty()) PostMessageW(window, WM_APP_RECORD_ICONS, 0, 0);
    iconsAwaited.push_back(panel);
}

void TabStripSync::RecordIcons() {
    if (iconsAwaited.empty() || UpdatesWait()) return;
    for (const FilePanel* panel : std::exchange(iconsAwaited, {})) {
        const int index = tabs.IndexOfPanel(panel);
        if (index < 0) continue;
        TabInfo& tab = tabs.At(index);
        tab.icon = ItemIconIndex(FocusedPanel(tab)->GetCurrentItem().get(), false);
        strip.SetIcon(index, tab.icon);
    }
}

bool TabStripSync::UpdatesWait() {
    if (!ModalLoops::MenuLoopRuns()) return false;
    SetTimer(window, kTimerResumeStripUpdates, kResumeStripUpdatesMs, nullptr);
    return true;
}
