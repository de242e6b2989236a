#include "mainwindow/tabs/tab_set.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "mainwindow/tabs/tab_list.h"
#include "ui/paths.h"

FilePanel* TabSet::ActivePanel() const { return Has(active) ? FocusedPanel(At(active)) : nullptr; }

int TabSet::IndexOfPanel(const FilePanel* panel) const {
    if (!panel) return -1;
    for (int i = 0; i < Count(); ++i) {
        if (At(i).panel.get() == panel || At(i).second.get() == panel) return i;
    }
    return -1;
}

int TabSet::IndexShowing(const std::wstring& path) const {
    for (int i = 0; i < Count(); ++i) {
        const std::wstring shown = TabFolder(At(i));
        if (!shown.empty() && SamePath(shown, path)) return i;
    }
    return -1;
}

std::wstring TabSet::FolderAt(int index) const { return Has(index) ? TabFolder(At(index)) : std::wstring(); }

int TabSet::PinnedCount() const {
    const auto unpinned = std::find_if(tabs.begin(), tabs.end(), [](const TabInfo& tab) { return !tab.marks.pinned; });
    return static_cast<int>(unpinned - tabs.begin());
}

std::pair<int, int> TabSet::PlacesFor(bool pinned) const {
    const int pinnedCount = PinnedCount();
    return pinned ? std::pair{0, pinnedCount} : std::pair{pinnedCount, Count()};
}

int TabSet::Insert(int index, TabInfo tab) {
    if (index < 0 || index > Count()) index = Count();
    const auto [first, last] = PlacesFor(tab.marks.pinned);
    index = std::clamp(index, first, last);
    tabs.insert(tabs.begin() + index, std::move(tab));
    if (active >= index) ++active;
    return index;
}

void TabSet::SetActive(int index) {
    // Shared by every window, so that a tab moved to another keeps its place in time.
    static int64_t useClock = 0;
    active = index;
    backgroundOpened = 0;
    if (Has(index)) At(index).marks.lastUsed = ++useClock;
}

int TabSet::SetPinned(int index, bool pinned) {
    if (!Has(index) || At(index).marks.pinned == pinned) return index;
    // The tab leaves its group first, and then goes to the edge between the two.
    const int target = pinned ? PinnedCount() : PinnedCount() - 1;
    At(index).marks.pinned = pinned;
    MoveTo(index, target);
    return target;
}

std::vector<int> TabSet::RecentOrder() const {
    std::vector<int> order(tabs.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return At(a).marks.lastUsed > At(b).marks.lastUsed; });
    return order;
}

// After the pinned tabs too, where an unpinned tab has to go.
int TabSet::TakeBackgroundSlot() { return std::min(std::max(active + 1, PinnedCount()) + backgroundOpened++, Count()); }

TabSet::Removal TabSet::Remove(int index) {
    Removal removal;
    removal.tabs.push_back(std::move(At(index)));
    tabs.erase(tabs.begin() + index);
    backgroundOpened = 0;
    const ActiveAfterRemoval next = ActiveTabAfterRemoval(index, active, Count());
    if (next.activeRemoved) {
        active = -1;
        removal.activate = next.index;
    } else {
        active = next.index;
    }
    return removal;
}

TabSet::Removal TabSet::KeepOnly(int first, int last, int focus) {
    Removal removal;
    std::vector<TabInfo> kept;
    int activeKept = -1;
    int focusKept = -1;
    for (int i = 0; i < Count(); ++i) {
        if ((i < first || i > last) && !At(i).marks.pinned) {
            removal.tabs.push_back(std::move(At(i)));
            continue;
        }
        if (i == active) activeKept = static_cast<int>(kept.size());
        if (i == focus) focusKept = static_cast<int>(kept.size());
        kept.push_back(std::move(At(i)));
    }
    tabs = std::move(kept);
    backgroundOpened = 0;
    active = activeKept;
    if (activeKept < 0) removal.activate = focusKept;
    return removal;
}

TabSet::Removal TabSet::TakeAll() {
    active = -1;
    backgroundOpened = 0;
    return Removal{std::exchange(tabs, {}), -1};
}

bool TabSet::Move(int index, int target) {
    const auto [first, end] = PlacesFor(At(index).marks.pinned);
    // The tab itself is counted in its group: it may go to the group's last place.
    target = std::clamp(target, first, std::max(first, end - 1));
    if (target == index) return false;
    MoveTo(index, target);
    return true;
}

void TabSet::MoveTo(int index, int target) {
    if (target == index) return;
    TabInfo moved = std::move(At(index));
    tabs.erase(tabs.begin() + index);
    tabs.insert(tabs.begin() + target, std::move(moved));
    active = ActiveTabAfterMove(index, target, active);
    backgroundOpened = 0;
}

void TabSet::ForEachPanel(const std::function<void(FilePanel&)>& action) {
    for (TabInfo& tab : tabs) {
        if (tab.panel) action(*tab.panel);
        if (tab.second) action(*tab.second);
    }
}

void TabSet::DescribeUnbuilt(const std::vector<FolderDescription>& descriptions) {
    std::unordered_map<std::wstring, const FolderDescription*> byPath;
    for (const FolderDescription& description : descriptions) byPath.emplace(description.path, &description);
    for (TabInfo& tab : tabs) {
        const auto found = byPath.find(tab.requestedPath);
        if (found != byPath.end()) Describe(tab, *found->second);
    }
}

bool TabSet::TitleWaiting(const std::function<bool(const std::wstring& folder)>& waiting, const std::wstring& title) {
    bool titled = false;
    for (TabInfo& tab : tabs) {
        if (tab.panel || !waiting(tab.requestedPath)) continue;
        tab.title = title;
        titled = true;
    }
    return titled;
}

void TabSet::CollectSaved(const std::function<std::wstring(const std::wstring& shown)>& activeFolder,
                          SavedTabs& saved) const {
    for (int i = 0; i < Count(); ++i) {
        std::wstring path = TabFolder(At(i));
        TabSplit split = TabSplitOf(At(i));
        // Only the pane with the focus shows what the active tab's folder stands for.
        const bool rightShown = i == active && split.split && split.rightFocused;
        if (i == active && !rightShown) path = activeFolder(path);
        if (path.empty()) continue;
        if (rightShown && !split.right.Empty()) {
            std::wstring& shown = split.right.entries[static_cast<size_t>(split.right.current)];
            shown = activeFolder(shown);
        }
        saved.paths.push_back(std::move(path));
        saved.histories.push_back(TabHistoryOf(At(i)));
        saved.splits.push_back(std::move(split));
        saved.marks.push_back(At(i).marks);
    }
}

int TabSet::SavedActiveIndex() const {
    if (active < 0) return active;
    int saved = 0;
    for (int i = 0; i < active && i < Count(); ++i) {
        if (!TabFolder(At(i)).empty()) ++saved;
    }
    return saved;
}
