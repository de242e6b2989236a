#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings.h"

// What changed, for those who show the settings.
enum class SettingsChange { Favourites, DialogChoices };

// The settings of the process, shared by all its windows, and the one way to
// change them: each setter updates the record and queues the save of exactly
// the lines it changed, so that a line the user or another tool wrote since
// the load is kept. Used on the user-interface thread only.
class SettingsStore {
public:
    // The process's store, loaded from the config folder at its first use.
    [[nodiscard]] static SettingsStore& Instance();

    // A store that starts from this record, for tests.
    explicit SettingsStore(Settings loaded) : values(std::move(loaded)) {}
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    [[nodiscard]] const Settings& Values() const { return values; }
    // Reads the config files again, as a new start would.
    void Reload();

    // Told after the favourites or the dialog's choices changed, so that every
    // window shows them; not after the changes only panels made later see.
    std::function<void(SettingsChange what)> onChange;

    void SetViewMode(int mode, int iconSize);
    void SetNavigationPaneVisible(bool visible);
    void SetPreviewPaneVisible(bool visible);
    void SetShowFileExtensions(bool show);
    void SetShowHiddenItems(bool show);
    void SetTakeover(bool on);

    // Takes what the settings dialog edits from changed, and nothing else:
    // NewTabPath, BackupDir, HistoryLimit, FavBarVisible, SearchBoxVisible,
    // Appearance and RecentTabOrder.
    // The dialog's takeover switch keeps its flag at once, through SetTakeover.
    void ApplyDialogChoices(const Settings& changed);

    // The favourites, as favourite_list.h changes them; favorites.txt is saved
    // when the list changed. Each answers whether it did.
    bool AddFavourite(const std::wstring& path);
    bool RemoveFavourite(int index);
    bool MoveFavourite(int index, int target);

    // The tabs of every window, their back and forward lists, splits and marks
    // in the same order, and the active one's place among them.
    void SetTabs(SavedTabs tabs, int activeTab);

    // The normal rectangle of the window that closed last. The record then
    // holds it as a load of the saved lines reads it back, clamped to 32 bits,
    // since a window opened later starts from it.
    void SetWindowRect(const RECT& rect);

private:
    bool SaveFavouritesIfChanged(bool changed) const;

    Settings values;
};
