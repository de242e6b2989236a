#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/tab_histories.h"
#include "settings/tab_marks.h"
#include "settings/tab_splits.h"

// The saved tabs as the windows give them, each list in tab order.
struct SavedTabs {
    std::vector<std::wstring> paths;
    std::vector<TabHistory> histories;
    std::vector<TabSplit> splits;
    std::vector<TabMarks> marks;
};

// Closed folders kept when no usable limit is set.
inline constexpr int32_t kDefaultHistoryLimit = 100;

// The settings record. The process holds one, in settings_store.h, which all
// its windows share; the field names are the keys of settings.txt.
struct Settings {
    bool NavVisible = true;
    bool DetailsVisible = false;
    bool PreviewVisible = false;
    bool ShowHiddenFiles = false;
    bool ShowFileExt = true;
    int32_t ViewMode = -1;  // the shell's folder view mode; -1 leaves the view's own choice
    int32_t ViewIconSize = 32;
    bool Takeover = false;
    bool FavBarVisible = false;
    bool SearchBoxVisible = true;
    std::wstring NewTabPath;  // empty: the main window's own default
    std::wstring BackupDir;   // empty: no backup
    std::vector<std::wstring> Favorites;
    std::vector<std::wstring> TabPaths;
    // Each saved tab's back and forward list, in TabPaths order; kept in a file
    // of its own, and empty for a tab whose list was not saved or did not fit.
    std::vector<TabHistory> TabHistories;
    // Each saved tab's second pane, in TabPaths order, from a file of its own
    // too; not split for a tab whose split was not saved or did not match.
    std::vector<TabSplit> TabSplits;
    // Each saved tab's pin, name, colour and place in the order of use, in
    // TabPaths order, from a file of its own; none for a tab whose line did not match.
    std::vector<TabMarks> TabMarkings;
    int32_t ActiveTab = 0;
    int32_t HistoryLimit = kDefaultHistoryLimit;
    bool HasWindowRect = false;  // set when a window line was read; never written
    int32_t WindowX = 0;
    int32_t WindowY = 0;
    int32_t WindowWidth = 0;
    int32_t WindowHeight = 0;
    // 外观: 0 follows Windows' app mode, 1 light, 2 dark.
    int32_t Appearance = 0;
    // Ctrl+Tab goes by recent use rather than along the strip.
    bool RecentTabOrder = false;

    // Set when favorites.txt or tabs.txt existed at load but could not be read
    // whole; saving then leaves that file as it is rather than replace it with
    // the little that was read.
    bool FavoritesUnreadable = false;
    bool TabPathsUnreadable = false;

    bool operator==(const Settings&) const = default;
};
