#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "app/application.h"
#include "mainwindow/favourite_list.h"
#include "mainwindow/main_window.h"
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
void MainWindow::OpenFavorite(const std::wstring& path) {
    if (path.empty()) return;
    if (PathIsDirectoryW(path.c_str()) || path.starts_with(L"::")) {
        OpenPath(path);
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
        window->ShowFavorites();
    }
}

void MainWindow::ShowFavorites() {
    tabStrip.SetFavourites(settings.Favorites);
    Layout();
}
