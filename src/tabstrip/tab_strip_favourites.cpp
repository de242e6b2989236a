#include "tabstrip/tab_strip.h"
#include "ui/favourite_entry.h"

#include <utility>

void TabStrip::SetFavourites(const std::vector<std::wstring>& paths) {
    favPaths.clear();
    favNames.clear();
    favIcons.clear();
    for (const std::wstring& path : paths) {
        FavouriteEntry entry = DescribeFavourite(path);
        favPaths.push_back(path);
        favNames.push_back(std::move(entry.name));
        favIcons.push_back(entry.iconIndex);
    }
}
