#pragma once

#include <functional>
#include <string>
#include <vector>

#include "mainwindow/tabs/folder_descriptions.h"
#include "mainwindow/tabs/tab_info.h"
#include "settings/settings.h"

// The tabs of one main window, left to right, and which of them is active.
// It keeps the indices consistent as tabs come, go and move, and the pinned
// tabs at the left end, before every other; building panels, opening folders
// and drawing the strip are the window's business.
class TabSet {
public:
    [[nodiscard]] int Count() const { return static_cast<int>(tabs.size()); }
    [[nodiscard]] bool Empty() const { return tabs.empty(); }
    [[nodiscard]] bool Has(int index) const { return index >= 0 && index < Count(); }
    [[nodiscard]] TabInfo& At(int index) { return tabs[static_cast<size_t>(index)]; }
    [[nodiscard]] const TabInfo& At(int index) const { return tabs[static_cast<size_t>(index)]; }

    // -1 while no tab is active: before the first one, and while the active one
    // is being replaced.
    [[nodiscard]] int Active() const { return active; }
    // The active tab's panel with the focus.
    [[nodiscard]] FilePanel* ActivePanel() const;
    // The tab either of whose panels is panel, or -1.
    [[nodiscard]] int IndexOfPanel(const FilePanel* panel) const;
    // The tab whose folder is path, or -1.
    [[nodiscard]] int IndexShowing(const std::wstring& path) const;
    // The folder of the tab at index; empty for none.
    [[nodiscard]] std::wstring FolderAt(int index) const;

    // The pinned tabs, which are the first ones.
    [[nodiscard]] int PinnedCount() const;

    // Puts the tab at index, appended when out of range, but never a pinned tab
    // after an unpinned one nor an unpinned one before a pinned one; the active
    // tab stays the same tab. Its index.
    int Insert(int index, TabInfo tab);
    // Makes index the active tab, or none with -1, and marks it as the tab
    // used last; tabs opened behind the active one count again from it.
    void SetActive(int index);
    // Pins or unpins the tab at index, which moves it to the end of the pinned
    // tabs or to the first place after them; its new index.
    int SetPinned(int index, bool pinned);
    // The tabs, the one used last first; those never shown last, left to right.
    [[nodiscard]] std::vector<int> RecentOrder() const;
    // Where the next tab opened behind the active one goes: after it, after the
    // pinned tabs and after those opened so before it.
    [[nodiscard]] int TakeBackgroundSlot();

    // What leaves the set with a removal. Its panels are still alive: they go
    // when the caller lets them go, once the rest of the window agrees again.
    struct Removal {
        std::vector<TabInfo> tabs;
        // The tab to activate: the active one went and this one takes over. -1
        // when the active tab stayed, or none is left.
        int activate = -1;
    };
    // Takes the tab at index out; a neighbour takes over when it was active.
    [[nodiscard]] Removal Remove(int index);
    // Takes out every tab outside first to last but the pinned ones, which stay
    // where they are; when the active tab is among those taken, the tab that
    // was at focus takes over.
    [[nodiscard]] Removal KeepOnly(int first, int last, int focus);
    // Takes out every tab at once, leaving none active.
    [[nodiscard]] Removal TakeAll();
    // Moves the tab at index to target, or as near as it may go among the
    // pinned or the other tabs; false when nothing moved.
    bool Move(int index, int target);

    void ForEachPanel(const std::function<void(FilePanel&)>& action);

    // Gives unbuilt tabs the shell's names and icons for their folders.
    void DescribeUnbuilt(const std::vector<FolderDescription>& descriptions);
    // Titles every unbuilt tab whose folder waits as given; true when any was.
    bool TitleWaiting(const std::function<bool(const std::wstring& folder)>& waiting, const std::wstring& title);

    // Adds the folders of the tabs, left to right, with their back and forward
    // lists, splits and marks, leaving out tabs that have no folder. The active
    // tab's folder is given by activeFolder, which may differ from what its panel shows.
    void CollectSaved(const std::function<std::wstring(const std::wstring& shown)>& activeFolder,
                      SavedTabs& saved) const;
    // The active tab's place among the tabs that are saved.
    [[nodiscard]] int SavedActiveIndex() const;

private:
    // Where a tab may be put, pinned or not, as the first and last index.
    [[nodiscard]] std::pair<int, int> PlacesFor(bool pinned) const;
    void MoveTo(int index, int target);

    std::vector<TabInfo> tabs;
    int active = -1;
    // Tabs opened behind the active one since it became active.
    int backgroundOpened = 0;
};
