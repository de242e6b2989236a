#include "tabstrip/favourite_names.h"
#include "tabstrip/tab_strip.h"
#include "ui/shell_icons.h"
#include "ui/shell_items.h"

std::wstring FallbackFavouriteName(const std::wstring& path) {
    // A trailing separator ("D:\Music\") would otherwise leave an empty name.
    const size_t end = path.find_last_not_of(L"\\/");
    if (end == std::wstring::npos) return path;
    const size_t separator = path.find_last_of(L"\\/", end);
    if (separator == std::wstring::npos) return path;
    return path.substr(separator + 1, end - separator);
}

void TabStrip::SetFavourites(const std::vector<std::wstring>& paths) {
    favPaths.clear();
    favNames.clear();
    favIcons.clear();
    for (const std::wstring& path : paths) {
        favPaths.push_back(path);
        ComPtr<IShellItem> item;
        std::wstring name;
        int icon = 0;
        if (SUCCEEDED(ItemFromPath(path, item.put()))) {
            name = DisplayName(item.get());
            icon = ItemIconIndex(item.get(), false);
        }
        favNames.push_back(name.empty() ? FallbackFavouriteName(path) : name);
        favIcons.push_back(icon);
    }
}
