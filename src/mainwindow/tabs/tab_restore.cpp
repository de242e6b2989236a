#include "mainwindow/tabs/tab_restore.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "ui/paths.h"

namespace {

TabState SavedState(const std::vector<TabHistory>& histories, const std::vector<TabSplit>& splits, size_t index) {
    return TabState{index < histories.size() ? histories[index] : TabHistory{},
                    index < splits.size() ? splits[index] : TabSplit{}};
}

}  // namespace

TabRestore::SavedTab TabRestore::Begin(const std::vector<std::wstring>& paths,
                                       const std::vector<TabHistory>& histories,
                                       const std::vector<TabSplit>& splits, int savedActive) {
    const int count = static_cast<int>(paths.size());
    const int first = savedActive >= 0 && savedActive < count ? savedActive : count - 1;
    for (int i = 0; i < count; ++i) {
        if (i == first) continue;
        const auto index = static_cast<size_t>(i);
        queued.push_back(QueuedTab{{paths[index], SavedState(histories, splits, index)}, i < first});
    }
    holding = true;
    const auto index = static_cast<size_t>(first);
    return SavedTab{paths[index], SavedState(histories, splits, index)};
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
