#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

#include "app/application.h"
#include "mainwindow/favourite_list.h"
#include "mainwindow/main_window.h"
#include "mainwindow/tabs/tab_list.h"
#include "settings/settings_file.h"

void MainWindow::AddFavorite(const std::wstring& path) {
    if (!AddToFavourites(settings.Favorites, path)) return;
    SaveFavoriteList(settings);
    ShareFavorites();
}

void MainWindow::RemoveFavorite(int index) {
    if (!RemoveFromFavourites(settings.Favorites, index)) return;
    SaveFavoriteList(settings);
    ShareFavorites();
}

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

// Every window of the process shows the same favourites: a window still holding
// an older list would otherwise write it back over this change with its next one.
// Each window is listed with the application before it is created, this one too.
void MainWindow::ShareFavorites() {
    for (const auto& window : Application::Instance().Windows()) {
        if (window.get() != this) {
            window->settings.Favorites = settings.Favorites;
            window->settings.FavoritesUnreadable = settings.FavoritesUnreadable;
        }
        window->ShowFavourites();
    }
}

void MainWindow::ShowFavourites() {
    tabStrip.SetFavourites(settings.Favorites);
    favBar.SetFavourites(settings.Favorites);
    Layout();
}

void MainWindow::MoveFavorite(int index, int slot) {
    const int count = static_cast<int>(settings.Favorites.size());
    if (index < 0 || index >= count) return;
    const int target = std::clamp(MoveTarget(index, slot), 0, count - 1);
    if (target == index) return;
    std::wstring moved = std::move(settings.Favorites[static_cast<size_t>(index)]);
    settings.Favorites.erase(settings.Favorites.begin() + index);
    settings.Favorites.insert(settings.Favorites.begin() + target, std::move(moved));
    SaveFavoriteList(settings);
    ShareFavorites();
}

void MainWindow::OnFavBarEvent(int event, int index, const std::wstring& path) {
    switch (event) {
    // The bar hands over its own copy of the path, which outlives any rebuild
    // of the bar that opening the folder causes.
    case kFavEventOpen: OpenFavorite(path); break;
    case kFavEventOpenBehind: OpenFavorite(path, true); break;
    case kFavEventRemove: RemoveFavorite(index); break;
    case kFavEventAdd: AddFavorite(path); break;
    default: break;
    }
}
