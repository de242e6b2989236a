#include "mainwindow/favourite_list.h"

#include <algorithm>

#include "ui/text.h"

namespace {

bool ValidIndex(const std::vector<std::wstring>& favourites, int index) {
    return index >= 0 && index < static_cast<int>(favourites.size());
}

}  // namespace

bool AddToFavourites(std::vector<std::wstring>& favourites, const std::wstring& path) {
    if (path.empty() || favourites.size() >= kMaxFavourites) return false;
    const bool listed = std::any_of(favourites.begin(), favourites.end(),
                                    [&](const std::wstring& favourite) { return EqualsIgnoringCase(favourite, path); });
    if (listed) return false;
    favourites.push_back(path);
    return true;
}

bool RemoveFromFavourites(std::vector<std::wstring>& favourites, int index) {
    if (!ValidIndex(favourites, index)) return false;
    favourites.erase(favourites.begin() + index);
    return true;
}
