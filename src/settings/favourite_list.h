#pragma once

#include <string>
#include <vector>

// Changes to the list of favourites, apart from the windows that show it. Each
// answers whether the list changed.

// Appends path unless it is empty, already listed in any case (paths are
// compared as typed, with no other normalisation) or the list is full.
bool AddToFavourites(std::vector<std::wstring>& favourites, const std::wstring& path);

bool RemoveFromFavourites(std::vector<std::wstring>& favourites, int index);

// Moves the favourite at index to position target, which is brought into the
// list, as a drop past either end lands at that end.
bool MoveWithinFavourites(std::vector<std::wstring>& favourites, int index, int target);
