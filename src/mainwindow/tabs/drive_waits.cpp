#include "mainwindow/tabs/drive_waits.h"

#include <utility>

#include "mainwindow/tabs/tab_list.h"

namespace {

// The folder a tab opens first: its history's current one, else the folder.
const std::wstring& FolderToOpen(const std::wstring& folder, const TabHistory& history) {
    if (history.current >= 0 && history.current < static_cast<int>(history.entries.size())) {
        return history.entries[static_cast<size_t>(history.current)];
    }
    return folder;
}

}  // namespace

void DriveWaits::Open(FilePanel* panel, const std::wstring& folder, const TabHistory& history) {
    switch (probe.Reach(FolderToOpen(folder, history))) {
    case FolderReach::Ready:
        OpenNow(panel, folder, history);
        return;
    case FolderReach::Unreachable:
        ForgetFolder(panel);
        return;
    case FolderReach::Asking:
        break;
    }
    waiting.push_back(Waiting{panel, folder, history});
    const int tab = tabs.IndexOfPanel(panel);
    // The tab's title waits for its own folder, not for a second pane's.
    if (tab >= 0 && tabs.At(tab).panel.get() == panel) tabs.At(tab).title = kConnectingTab;
}

FolderReach DriveWaits::ReachTyped(FilePanel* panel, const std::wstring& folder) {
    const FolderReach reach = probe.Reach(folder);
    if (reach == FolderReach::Asking) waiting.push_back(Waiting{panel, folder, {}, true});
    return reach;
}

std::vector<DriveWaits::Typed> DriveWaits::OpenAnswered() {
    std::vector<Typed> typed;
    for (Waiting& next : std::exchange(waiting, {})) {
        const FolderReach reach = probe.Reach(FolderToOpen(next.folder, next.history));
        if (reach == FolderReach::Asking) {
            waiting.push_back(std::move(next));
        } else if (next.typed) {
            typed.push_back(Typed{next.panel, std::move(next.folder), reach == FolderReach::Ready});
        } else if (reach == FolderReach::Ready) {
            OpenNow(next.panel, next.folder, next.history);
        } else {
            ForgetFolder(next.panel);
        }
    }
    // Answers are only for the folders that waited: a drive may come or go before the next.
    if (waiting.empty()) probe.Forget();
    return typed;
}

void DriveWaits::PanelGone(const FilePanel* panel) {
    std::erase_if(waiting, [&](const Waiting& next) { return next.panel == panel; });
}

void DriveWaits::OpenNow(FilePanel* panel, const std::wstring& folder, const TabHistory& history) {
    if ((!history.Empty() && panel->OpenHistory(history)) || panel->NavigateToPath(folder)) return;
    ForgetFolder(panel);
}

void DriveWaits::ForgetFolder(const FilePanel* panel) {
    const int opened = tabs.IndexOfPanel(panel);
    // A split tab's second pane that finds no folder is left empty; the tab is its first.
    if (opened < 0 || tabs.At(opened).panel.get() != panel) return;
    TabInfo& tab = tabs.At(opened);
    tab.requestedPath.clear();
    tab.title.clear();
    tab.icon = -1;
}
