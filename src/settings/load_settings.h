#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"

// Under HKEY_CURRENT_USER: where an earlier version kept its settings. Read once,
// to migrate them into the config folder; never changed.
inline constexpr wchar_t kLegacySettingsKey[] = L"Software\\Quorlen";

inline constexpr size_t kMaxFavorites = 32;
inline constexpr int32_t kMaxHistoryLimit = 10000;

// A history limit below 1 falls back to the default of 100; above 10000 is cut to 10000.
[[nodiscard]] int32_t ClampHistoryLimit(int32_t limit);

// Keeps the first 32 favourites.
[[nodiscard]] std::vector<std::wstring> CapFavorites(std::vector<std::wstring> favorites);

// The strings of a multi-string value: zero-terminated strings up to the first
// empty one. Never reads past the given units, so a value that lacks the final
// empty string, or the last terminator, still ends where its data ends.
[[nodiscard]] std::vector<std::wstring> SplitMultiString(std::wstring_view units);

// The record the process starts from: the defaults overlaid with the config
// files. On the first start of a config folder without settings.txt, the legacy
// registry key is migrated into the files instead; favorites.txt and tabs.txt
// that already hold entries are kept then. Sees every save asked for before
// it. Never fails.
[[nodiscard]] Settings LoadSettings();

// The defaults overlaid with whatever can be read from the legacy key.
[[nodiscard]] Settings ReadLegacySettings();

// A multi-string value; empty when it is missing or cannot be read.
[[nodiscard]] std::vector<std::wstring> ReadRegistryStringList(HKEY key, const wchar_t* name);

// A string value up to its first zero, or the fallback when the value is missing,
// empty or cannot be read. A value without a terminating zero is read safely.
[[nodiscard]] std::wstring ReadRegistryString(HKEY key, const wchar_t* name, const std::wstring& fallback);
