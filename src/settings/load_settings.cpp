#include "settings/load_settings.h"

#include <algorithm>
#include <utility>

#include "settings/config_dir.h"
#include "settings/line_file.h"
#include "settings/save_failures.h"
#include "settings/save_queue.h"
#include "settings/settings_file.h"
#include "ui/handles.h"

namespace {

UniqueKey OpenLegacyKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kLegacySettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    return UniqueKey(key);
}

// Only a file that is surely absent starts the migration; one that merely cannot
// be looked at now must not be replaced by the registry's old values.
bool FileExists(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// Closes the key again at once: the migration opens it anew to read it.
bool LegacyKeyExists() { return static_cast<bool>(OpenLegacyKey()); }

// Reads a value's data as UTF-16 code units, an odd last byte dropped. False when
// the value is missing, holds less than one code unit or cannot be read.
bool ReadValueUnits(HKEY key, const wchar_t* name, std::wstring& units) {
    // The value may grow between asking for its size and reading it; ask again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
        if (size < sizeof(wchar_t)) return false;
        // One unit more than the data needs, so an odd size still fits.
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD read = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &read);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return false;
        buffer.resize(read / sizeof(wchar_t));
        units = std::move(buffer);
        return true;
    }
    return false;
}

// A number of exactly four bytes; anything else leaves the field as it was.
void ReadNumber(HKEY key, const wchar_t* name, int32_t& field) {
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        size != sizeof(data)) {
        return;
    }
    field = static_cast<int32_t>(data);
}

void ReadFlag(HKEY key, const wchar_t* name, bool& field) {
    int32_t number = field ? 1 : 0;
    ReadNumber(key, name, number);
    field = number != 0;
}

// A list file that already holds entries wins over the registry's list and is
// left as it is; otherwise the registry's list is written. A file that exists
// but cannot be read whole is not overwritten either.
void MigrateListFile(const std::wstring& path, std::vector<std::wstring>& list) {
    std::vector<std::wstring> existing;
    const bool readWhole = TryReadLines(path, existing);
    if (!existing.empty()) {
        list = std::move(existing);
        return;
    }
    if (readWhole) SaveLines(path, list);
}

// The first start of a config folder whose settings still live in the registry.
// Writing settings.txt makes this the last time; the limits are applied by the
// next load, as for any other file.
Settings MigrateLegacySettings() {
    Settings settings = ReadLegacySettings();
    SaveLines(ConfigFilePath(kSettingsFileName), PrintSettingsLines(settings));
    MigrateListFile(ConfigFilePath(kFavoritesFileName), settings.Favorites);
    MigrateListFile(ConfigFilePath(kTabsFileName), settings.TabPaths);
    return settings;
}

}  // namespace

int32_t ClampHistoryLimit(int32_t limit) {
    if (limit < 1) return kDefaultHistoryLimit;
    return std::min(limit, kMaxHistoryLimit);
}

std::vector<std::wstring> CapFavorites(std::vector<std::wstring> favorites) {
    if (favorites.size() > kMaxFavorites) favorites.resize(kMaxFavorites);
    return favorites;
}

std::vector<std::wstring> SplitMultiString(std::wstring_view units) {
    std::vector<std::wstring> strings;
    size_t start = 0;
    while (start < units.size()) {
        size_t end = units.find(L'\0', start);
        if (end == std::wstring_view::npos) end = units.size();
        if (end == start) break;  // the empty string that ends the list
        strings.emplace_back(units.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

namespace {

// The saved tabs' lists, splits and marks, from files of their own. Whatever
// state those are in, they cost only what they hold.
void ReadTabLists(Settings& settings) {
    std::vector<std::wstring> histories;
    static_cast<void>(TryReadLines(ConfigFilePath(kTabHistoryFileName), histories, kTabHistoryReadLimit));
    settings.TabHistories = MatchTabHistories(histories, settings.TabPaths);
    // Only a file of splits read whole: a right pane's list has no tab's line
    // to be checked against.
    std::vector<std::wstring> splits;
    if (!TryReadLines(ConfigFilePath(kTabSplitFileName), splits, kTabHistoryReadLimit)) splits.clear();
    settings.TabSplits = MatchTabSplits(splits, settings.TabPaths);
    std::vector<std::wstring> marks;
    static_cast<void>(TryReadLines(ConfigFilePath(kTabMarksFileName), marks, kTabHistoryReadLimit));
    settings.TabMarkings = MatchTabMarks(marks, settings.TabPaths);
}

}  // namespace

Settings LoadSettings() {
    FlushSaves();
    const std::wstring settingsPath = ConfigFilePath(kSettingsFileName);
    if (!FileExists(settingsPath) && LegacyKeyExists()) {
        // tabs.txt may already be there, and wins over the registry's list.
        Settings migrated = MigrateLegacySettings();
        ReadTabLists(migrated);
        return migrated;
    }

    Settings settings = ParseSettingsLines(ReadLines(settingsPath));
    settings.HistoryLimit = ClampHistoryLimit(settings.HistoryLimit);
    std::vector<std::wstring> favorites;
    settings.FavoritesUnreadable = !TryReadLines(ConfigFilePath(kFavoritesFileName), favorites);
    settings.Favorites = CapFavorites(std::move(favorites));
    settings.TabPathsUnreadable = !TryReadLines(ConfigFilePath(kTabsFileName), settings.TabPaths);
    ReadTabLists(settings);
    return settings;
}

Settings ReadLegacySettings() {
    Settings settings;
    const UniqueKey key = OpenLegacyKey();
    if (!key) return settings;
    ReadFlag(key.get(), L"NavVisible", settings.NavVisible);
    ReadFlag(key.get(), L"DetailsVisible", settings.DetailsVisible);
    ReadFlag(key.get(), L"PreviewVisible", settings.PreviewVisible);
    ReadFlag(key.get(), L"ShowHiddenFiles", settings.ShowHiddenFiles);
    ReadFlag(key.get(), L"ShowFileExt", settings.ShowFileExt);
    ReadNumber(key.get(), L"ViewMode", settings.ViewMode);
    ReadNumber(key.get(), L"ViewIconSize", settings.ViewIconSize);
    ReadFlag(key.get(), L"Takeover", settings.Takeover);
    settings.Favorites = ReadRegistryStringList(key.get(), L"Favorites");
    settings.TabPaths = ReadRegistryStringList(key.get(), L"TabPaths");
    ReadNumber(key.get(), L"ActiveTab", settings.ActiveTab);
    settings.NewTabPath = ReadRegistryString(key.get(), L"NewTabPath", settings.NewTabPath);
    return settings;
}

std::vector<std::wstring> ReadRegistryStringList(HKEY key, const wchar_t* name) {
    std::wstring units;
    if (!ReadValueUnits(key, name, units)) return {};
    return SplitMultiString(units);
}

std::wstring ReadRegistryString(HKEY key, const wchar_t* name, const std::wstring& fallback) {
    std::wstring units;
    if (!ReadValueUnits(key, name, units)) return fallback;
    const size_t end = units.find(L'\0');
    if (end != std::wstring::npos) units.resize(end);
    return units;
}
