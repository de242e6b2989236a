#include "mainwindow/tab_info.h"

#include <utility>

#include "ui/paths.h"

TabInfo UnbuiltTab(const std::wstring& path, TabHistory history) {
    TabInfo tab;
    tab.requestedPath = path;
    tab.history = std::move(history);
    tab.title = LastPathComponent(WithoutTrailingBackslashes(path));
    return tab;
}

void Describe(TabInfo& tab, const FolderDescription& description) {
    if (tab.panel || tab.requestedPath != description.path) return;
    if (!description.name.empty()) tab.title = description.name;
    tab.icon = description.icon;
}

std::wstring TabFolder(const TabInfo& tab) {
    if (!tab.panel) return tab.requestedPath;
    std::wstring shown = tab.panel->GetCurrentPath();
    return shown.empty() ? tab.requestedPath : shown;
}

TabHistory TabHistoryOf(const TabInfo& tab) { return tab.panel ? tab.panel->SavedHistory() : tab.history; }
