#pragma once

#include <string>

// How a favourite is listed wherever favourites are shown: the shell's name and
// small icon for its path.
struct FavouriteEntry {
    std::wstring name;
    // Into the small system image list; 0 when the shell has no item for the
    // path, -1 when it has no icon for the item.
    int iconIndex = 0;
};

[[nodiscard]] FavouriteEntry DescribeFavourite(const std::wstring& path);

// The name a favourite is listed under when the shell gives it none: the last
// part of its path, or the whole path when it has no parts.
[[nodiscard]] std::wstring FallbackFavouriteName(const std::wstring& path);
