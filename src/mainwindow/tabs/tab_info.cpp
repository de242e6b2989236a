#include "mainwindow/tabs/tab_info.h"

#include <shlwapi.h>

#include <utility>

#include "mainwindow/tabs/tab_list.h"
#include "ui/folder_probe.h"
#include "ui/paths.h"

namespace {

// What a tab is called before the shell has named its folder.
std::wstring TitleFromPath(const std::wstring& path) { return LastPathComponent(WithoutTrailingBackslashes(path)); }

}  // namespace

TabInfo UnbuiltTab(const std::wstring& path, TabState state) {
    TabInfo tab;
    tab.requestedPath = path;
    tab.history = std::move(state.history);
    tab.split = std::move(state.split);
    tab.marks = std::move(state.marks);
    tab.title = TitleFromPath(path);
    return tab;
}

void Describe(TabInfo& tab, const FolderDescription& description) {
    if (tab.panel || tab.requestedPath != description.path) return;
    // A folder the shell does not know keeps the name its path gives it.
    tab.title = description.name.empty() ? TitleFromPath(tab.requestedPath) : description.name;
    tab.icon = description.icon;
}

std::wstring DefaultTabFolder(const std::wstring& newTabPath) {
    if (!newTabPath.empty() && (MayKeepWaiting(newTabPath) || PathFileExistsW(newTabPath.c_str()))) return newTabPath;
    return kComputerFolder;
}

std::wstring TabFolder(const TabInfo& tab) {
    if (!tab.panel) return tab.requestedPath;
    std::wstring shown = tab.panel->GetCurrentPath();
    return shown.empty() ? tab.requestedPath : shown;
}

TabHistory TabHistoryOf(const TabInfo& tab) { return tab.panel ? tab.panel->SavedHistory() : tab.history; }

TabSplit TabSplitOf(const TabInfo& tab) {
    if (!tab.split.split) return {};
    TabSplit split = tab.split;
    if (tab.second) split.right = tab.second->SavedHistory();
    return split;
}

TabState TabStateOf(const TabInfo& tab) { return TabState{TabHistoryOf(tab), TabSplitOf(tab), tab.marks}; }

FilePanel* FocusedPanel(const TabInfo& tab) {
    return tab.split.split && tab.split.rightFocused && tab.second ? tab.second.get() : tab.panel.get();
}
