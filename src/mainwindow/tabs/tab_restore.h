#pragma once

#include <deque>
#include <string>
#include <vector>

#include "mainwindow/tabs/folder_descriptions.h"
#include "mainwindow/tabs/tab_set.h"
#include "settings/settings.h"

// The saved tabs coming back at a start. The saved active tab opens first; the
// others wait until it is on screen and then come into the set at once, as
// records, each getting its panel when it is first shown. Until every restored
// tab is back the tab list is not saved: a save would drop those not back yet.
class TabRestore {
public:
    struct SavedTab {
        std::wstring path;
        TabState state;
    };

    // Queues every saved tab but the one to open first, which it returns: the
    // saved active tab, else the last, where opening the saved tabs one after
    // another would have left the activation. Saves are held from here on.
    // The paths must not be empty.
    [[nodiscard]] SavedTab Begin(const SavedTabs& saved, int savedActive);
    // The folders of the queued tabs, in saved order.
    [[nodiscard]] std::vector<std::wstring> QueuedFolders() const;
    [[nodiscard]] bool HasQueued() const { return !queued.empty(); }

    // The panel of the first tab, which the queued tabs are placed around.
    void FirstOpenedIn(const FilePanel* panel) { firstPanel = panel; }
    // A panel that goes: a new one made at its address must not take its place.
    void PanelGone(const FilePanel* panel);
    // Puts the queued tabs into the set as unbuilt tabs, those saved before the
    // first one in front of it, leaving out folders already open.
    void PlaceQueued(TabSet& tabs);

    [[nodiscard]] bool HoldsSaves() const { return holding; }
    // Frees the saves once every restored tab has its folder; whether they are free.
    bool ReleaseIfComplete(const TabSet& tabs);
    // A tab whose folder never arrives no longer holds the saves back.
    void Release() { holding = false; }

    // Names and icons of folders of tabs not shown yet, restored or opened behind.
    [[nodiscard]] FolderDescriber& Describer() { return describer; }

private:
    struct QueuedTab {
        SavedTab saved;
        bool beforeFirst = false;
    };
    std::deque<QueuedTab> queued;
    const FilePanel* firstPanel = nullptr;
    bool holding = false;
    FolderDescriber describer;
};
