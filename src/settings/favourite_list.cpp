#include "settings/favourite_list.h"

#include <algorithm>
#include <utility>

#include "settings/load_settings.h"
#include "ui/text.h"

namespace {

bool ValidIndex(const std::vector<std::wstring>& favourites, int index) {
    return index >= 0 && index < static_cast<int>(favourites.size());
}

}  // namespace

bool AddToFavourites(std::vector<std::wstring>& favourites, const std::wstring& path) {
    if (path.empty() || favourites.size() >= kMaxFavorites) return false;
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

bool MoveWithinFavourites(std::vector<std::wstring>& favourites, int index, int target) {
    if (!ValidIndex(favourites, index)) return false;
    target = std::clamp(target, 0, static_cast<int>(favourites.size()) - 1);
    if (target == index) return false;
    std::wstring moved = std::move(favourites[static_cast<size_t>(index)]);
    favourites.erase(favourites.begin() + index);
    favourites.insert(favourites.begin() + target, std::move(moved));
    return true;
}
