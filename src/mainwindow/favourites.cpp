#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "mainwindow/main_window.h"

// Folders open in a tab, virtual ones ("::" names) included; anything else is
// opened by its own program.
void MainWindow::OpenFavorite(const std::wstring& path, bool behind) {
    if (path.empty()) return;
    if (PathIsDirectoryW(path.c_str()) || path.starts_with(L"::")) {
        if (behind) {
            OpenInBackgroundTab(path);
        } else {
            OpenPath(path);
        }
    } else {
        ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

// Every window shows the settings as the store holds them. The dialog's
// choices apply to panels made from now on; the open ones keep their panes
// and view.
void MainWindow::OnSettingsChanged(SettingsChange what) {
    const Settings& values = settings.Values();
    tabStrip.SetFavourites(values.Favorites);
    favBar.SetFavourites(values.Favorites);
    if (what == SettingsChange::DialogChoices) {
        commandBar.SetSearchBoxVisible(values.SearchBoxVisible);
        UpdateCommandBar();
        RefreshPalette(AppearanceFromNumber(values.Appearance));
        if (CurrentPalette() != shownPalette) ShowPalette();
    }
    Layout();
}

void MainWindow::OnStripFavouriteChosen(int favourite, FavouriteAction action) {
    if (action == FavouriteAction::Remove) {
        settings.RemoveFavourite(favourite);
        return;
    }
    const std::vector<std::wstring>& favourites = settings.Values().Favorites;
    if (favourite < 0 || favourite >= static_cast<int>(favourites.size())) return;
    // A copy: opening the folder may change the list.
    const std::wstring path = favourites[static_cast<size_t>(favourite)];
    OpenFavorite(path, action == FavouriteAction::OpenBehind);
}

void MainWindow::OnFavBarEvent(int event, int index, const std::wstring& path) {
    switch (event) {
    // The bar hands over its own copy of the path, which outlives any rebuild
    // of the bar that opening the folder causes.
    case kFavEventOpen: OpenFavorite(path); break;
    case kFavEventOpenBehind: OpenFavorite(path, true); break;
    case kFavEventRemove: settings.RemoveFavourite(index); break;
    case kFavEventAdd: settings.AddFavourite(path); break;
    default: break;
    }
}
