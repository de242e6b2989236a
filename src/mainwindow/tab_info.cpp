#include "mainwindow/tab_info.h"

#include "ui/paths.h"
#include "ui/shell_icons.h"
#include "ui/shell_items.h"

TabInfo UnbuiltTab(const std::wstring& path) {
    TabInfo tab;
    tab.requestedPath = path;
    ComPtr<IShellItem> item;
    if (SUCCEEDED(ItemFromPath(path, item.put())) && item) {
        tab.title = DisplayName(item.get());
        tab.icon = ItemIconIndex(item.get(), false);
    }
    if (tab.title.empty()) tab.title = LastPathComponent(WithoutTrailingBackslashes(path));
    return tab;
}

std::wstring TabFolder(const TabInfo& tab) {
    if (!tab.panel) return tab.requestedPath;
    std::wstring shown = tab.panel->GetCurrentPath();
    return shown.empty() ? tab.requestedPath : shown;
}

int TabIconIndex(const TabInfo& tab) { return tab.icon >= 0 ? tab.icon : FolderIconIndex(); }
