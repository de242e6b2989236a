#include "ui/favourite_entry.h"

#include "ui/folder_probe.h"
#include "ui/handles.h"
#include "ui/shell_icons.h"
#include "ui/shell_items.h"

FavouriteEntry DescribeFavourite(const std::wstring& path) {
    FavouriteEntry entry;
    ComPtr<IShellItem> item;
    // Favourites are named as the window starts: one on a share or a removable
    // drive goes by its path's name rather than hold the window up.
    if (!MayKeepWaiting(path) && SUCCEEDED(ItemFromPath(path, item.put()))) {
        entry.name = DisplayName(item.get());
        entry.iconIndex = ItemIconIndex(item.get(), false);
    }
    if (entry.name.empty()) entry.name = FallbackFavouriteName(path);
    return entry;
}

std::wstring FallbackFavouriteName(const std::wstring& path) {
    // A trailing separator ("D:\Music\") would otherwise leave an empty name.
    const size_t end = path.find_last_not_of(L"\\/");
    if (end == std::wstring::npos) return path;
    const size_t separator = path.find_last_of(L"\\/", end);
    if (separator == std::wstring::npos) return path;
    return path.substr(separator + 1, end - separator);
}
