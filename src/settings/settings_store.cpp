#include "settings/settings_store.h"

#include <utility>

#include "settings/favourite_list.h"
#include "settings/load_settings.h"
#include "settings/settings_file.h"

SettingsStore& SettingsStore::Instance() {
    static SettingsStore store(LoadSettings());
    return store;
}

void SettingsStore::Reload() { values = LoadSettings(); }

void SettingsStore::SetViewMode(int mode, int iconSize) {
    values.ViewMode = mode;
    values.ViewIconSize = iconSize;
    SaveSettingsOf(values, {L"ViewMode", L"ViewIconSize"});
}

void SettingsStore::SetNavigationPaneVisible(bool visible) {
    values.NavVisible = visible;
    SaveSettingsOf(values, {L"NavVisible"});
}

void SettingsStore::SetPreviewPaneVisible(bool visible) {
    values.PreviewVisible = visible;
    SaveSettingsOf(values, {L"PreviewVisible"});
}

void SettingsStore::SetShowFileExtensions(bool show) {
    values.ShowFileExt = show;
    SaveSettingsOf(values, {L"ShowFileExt"});
}

void SettingsStore::SetShowHiddenItems(bool show) {
    values.ShowHiddenFiles = show;
    SaveSettingsOf(values, {L"ShowHiddenFiles"});
}

void SettingsStore::SetTakeover(bool on) {
    values.Takeover = on;
    SaveSettingsOf(values, {L"Takeover"});
}

void SettingsStore::ApplyDialogChoices(const Settings& changed) {
    values.NewTabPath = changed.NewTabPath;
    values.BackupDir = changed.BackupDir;
    values.HistoryLimit = changed.HistoryLimit;
    values.FavBarVisible = changed.FavBarVisible;
    values.SearchBoxVisible = changed.SearchBoxVisible;
    values.Appearance = changed.Appearance;
    values.RecentTabOrder = changed.RecentTabOrder;
    SaveSettingsOf(values, {L"NewTabPath", L"BackupDir", L"HistoryLimit", L"FavBarVisible", L"SearchBoxVisible",
                            L"Appearance", L"RecentTabOrder"});
    if (onChange) onChange(SettingsChange::DialogChoices);
}

bool SettingsStore::AddFavourite(const std::wstring& path) {
    return SaveFavouritesIfChanged(AddToFavourites(values.Favorites, path));
}

bool SettingsStore::RemoveFavourite(int index) {
    return SaveFavouritesIfChanged(RemoveFromFavourites(values.Favorites, index));
}

bool SettingsStore::MoveFavourite(int index, int target) {
    return SaveFavouritesIfChanged(MoveWithinFavourites(values.Favorites, index, target));
}

bool SettingsStore::SaveFavouritesIfChanged(bool changed) const {
    if (!changed) return false;
    SaveFavoriteList(values);
    if (onChange) onChange(SettingsChange::Favourites);
    return true;
}

void SettingsStore::SetTabs(SavedTabs tabs, int activeTab) {
    values.TabPaths = std::move(tabs.paths);
    values.TabHistories = std::move(tabs.histories);
    values.TabSplits = std::move(tabs.splits);
    values.TabMarkings = std::move(tabs.marks);
    values.ActiveTab = activeTab;
    SaveTabList(values);
}

void SettingsStore::SetWindowRect(const RECT& rect) {
    const Settings saved = ParseSettingsLines(WithWindowRect({}, rect));
    values.HasWindowRect = saved.HasWindowRect;
    values.WindowX = saved.WindowX;
    values.WindowY = saved.WindowY;
    values.WindowWidth = saved.WindowWidth;
    values.WindowHeight = saved.WindowHeight;
    SaveWindowRect(rect);
}
