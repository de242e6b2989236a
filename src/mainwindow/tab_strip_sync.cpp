#include "mainwindow/tab_strip_sync.h"

#include <utility>

#include "mainwindow/main_window_ids.h"
#include "mainwindow/tabs/tab_list.h"
#include "mainwindow/tabs/tab_titles.h"
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

namespace {

// The folder the tab's title names: the focused pane's.
std::wstring TitledFolder(const TabInfo& tab) {
    const FilePanel* focused = FocusedPanel(tab);
    std::wstring shown = focused ? focused->GetCurrentPath() : std::wstring();
    return shown.empty() ? TabFolder(tab) : shown;
}

}  // namespace

std::vector<std::wstring> TabStripSync::Titles(std::vector<TabLook>* looks) const {
    std::vector<TitleSource> sources;
    for (int i = 0; i < tabs.Count(); ++i) {
        const TabInfo& tab = tabs.At(i);
        sources.push_back(TitleSource{tab.title.empty() ? kUntitledTab : tab.title, TitledFolder(tab), tab.marks.name});
    }
    std::vector<std::wstring> titles = TabTitles(sources);
    if (!looks) return titles;
    for (size_t i = 0; i < sources.size(); ++i) {
        const TabMarks& marks = tabs.At(static_cast<int>(i)).marks;
        // A named tab still tells its folder; a narrow pinned one its whole title.
        std::wstring tip = !marks.name.empty() ? sources[i].folder : marks.pinned ? titles[i] : std::wstring();
        looks->push_back(TabLook{marks.pinned, marks.colour, std::move(tip)});
    }
    return titles;
}

void TabStripSync::Sync() {
    std::vector<TabLook> looks;
    shownTitles = Titles(&looks);
    shownLooks = looks;
    std::vector<int> icons(static_cast<size_t>(tabs.Count()));
    for (int i = 0; i < tabs.Count(); ++i) icons[static_cast<size_t>(i)] = tabs.At(i).icon;
    strip.SetTabs(shownTitles, tabs.Active(), icons, looks);
    strip.SetLoading(tabs.Active(), search.Pending());
}

// A tip follows a tab's folder or title, which the strip is told with the rest.
void TabStripSync::Retitle() {
    std::vector<TabLook> looks;
    std::vector<std::wstring> titles = Titles(&looks);
    if (titles.size() != shownTitles.size() || looks != shownLooks) {
        Sync();
        return;
    }
    for (size_t i = 0; i < titles.size(); ++i) {
        if (titles[i] != shownTitles[i]) strip.SetTitle(static_cast<int>(i), titles[i]);
    }
    shownTitles = std::move(titles);
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
        // Pinned tabs sharing an icon widen, which may take another row.
        if (tab.marks.pinned) relayout();
    }
}

bool TabStripSync::UpdatesWait() {
    if (!ModalLoops::MenuLoopRuns()) return false;
    SetTimer(window, kTimerResumeStripUpdates, kResumeStripUpdatesMs, nullptr);
    return true;
}
