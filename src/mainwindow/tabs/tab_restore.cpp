#include "mainwindow/tabs/tab_restore.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "ui/paths.h"

namespace {

template <typename T>
T SavedAt(const std::vector<T>& list, size_t index) {
    return index < list.size() ? list[index] : T{};
}

TabState SavedState(const SavedTabs& saved, size_t index) {
    return TabState{SavedAt(saved.histories, index), SavedAt(saved.splits, index), SavedAt(saved.marks, index)};
}

}  // namespace

TabRestore::SavedTab TabRestore::Begin(const SavedTabs& saved, int savedActive) {
    const std::vector<std::wstring>& paths = saved.paths;
    const int count = static_cast<int>(paths.size());
    const int first = savedActive >= 0 && savedActive < count ? savedActive : count - 1;
    for (int i = 0; i < count; ++i) {
        if (i == first) continue;
        const auto index = static_cast<size_t>(i);
        queued.push_back(QueuedTab{{paths[index], SavedState(saved, index)}, i < first});
    }
    holding = true;
    const auto index = static_cast<size_t>(first);
    return SavedTab{paths[index], SavedState(saved, index)};
}

std::vector<std::wstring> TabRestore::QueuedFolders() const {
    std::vector<std::wstring> folders;
    for (const QueuedTab& tab : queued) folders.push_back(tab.saved.path);
    return folders;
}

void TabRestore::PanelGone(const FilePanel* panel) {
    if (panel == firstPanel) firstPanel = nullptr;
}

void TabRestore::PlaceQueued(TabSet& tabs) {
    std::unordered_set<std::wstring> open;
    for (int i = 0; i < tabs.Count(); ++i) open.insert(PathKey(tabs.FolderAt(i)));
    for (QueuedTab& next : queued) {
        if (!open.insert(PathKey(next.saved.path)).second) continue;
        // Without its panel the first tab cannot be told from a tab not shown yet.
        const int first = firstPanel ? tabs.IndexOfPanel(firstPanel) : -1;
        tabs.Insert(next.beforeFirst && first >= 0 ? first : tabs.Count(),
                    UnbuiltTab(next.saved.path, std::move(next.saved.state)));
    }
    queued.clear();
}

bool TabRestore::ReleaseIfComplete(const TabSet& tabs) {
    if (!holding) return true;
    if (!queued.empty()) return false;
    for (int i = 0; i < tabs.Count(); ++i) {
        const TabInfo& tab = tabs.At(i);
        if (tab.panel && !tab.requestedPath.empty() && tab.panel->GetCurrentPath().empty()) return false;
        if (tab.second && tab.second->GetCurrentPath().empty()) return false;
    }
    holding = false;
    return true;
}
