#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/settings.h"

// The files of the config folder that hold the settings record.
inline constexpr wchar_t kSettingsFileName[] = L"settings.txt";
inline constexpr wchar_t kFavoritesFileName[] = L"favorites.txt";
inline constexpr wchar_t kTabsFileName[] = L"tabs.txt";

// Reads a decimal the way settings.txt values are read: leading white space
// skipped, an optional sign, digits up to the first non-digit. No digits gives 0;
// values beyond the 32-bit range give the nearest 32-bit limit.
[[nodiscard]] int32_t ParseDecimal(std::wstring_view text);

// The 18 lines of settings.txt for this record, in their fixed order. The lists
// live in their own files and HasWindowRect is never written. A text value is
// written up to its first line break, so that it stays one line.
[[nodiscard]] std::vector<std::wstring> PrintSettingsLines(const Settings& settings);

// The defaults overlaid with the lines of settings.txt. The key is the text
// before a line's first "=", matched exactly; unknown keys and lines without "="
// are skipped, and a later line overrides an earlier one. Values are taken as
// they stand: limits are the loader's business.
[[nodiscard]] Settings ParseSettingsLines(const std::vector<std::wstring>& lines);

// The lines of settings.txt with each named value set, as WithSettingLines does.
[[nodiscard]] std::vector<std::wstring> WithSettingValues(
    std::vector<std::wstring> lines, const std::vector<std::pair<std::wstring, int64_t>>& values);

// The lines of settings.txt with the window lines set to this rectangle (left,
// top, right, bottom): each replaces the first line of its key, or is appended
// when there is none. Every other line stays where it was.
[[nodiscard]] std::vector<std::wstring> WithWindowRect(std::vector<std::wstring> lines, const RECT& rect);

// The Save functions below queue their read-modify-write of the files as one
// save (settings/save_queue.h) and return at once; a reader of the files calls
// FlushSaves first.

// settings.txt as it is written: the 18 lines in their fixed order, each the
// line the file holds for its key (the last, which a load takes) or else the
// default one, followed by the lines of keys the program does not know, in
// their order. The file then always shows every setting. A save that changes no
// value does not write the file at all.
[[nodiscard]] std::vector<std::wstring> CompleteSettingsLines(const std::vector<std::wstring>& lines);

// The lines of settings.txt with each given "key=value" line in place of the
// first line of its key, or appended when there is none; later lines of the key
// go, since a load would take the last. Every other line stays where it was.
[[nodiscard]] std::vector<std::wstring> WithSettingLines(std::vector<std::wstring> lines,
                                                         const std::vector<std::wstring>& replacements);

// Rewrites only the lines of the named keys of settings.txt with the record's
// values, leaving every other line and the list files as they are: a line the
// user or another tool changed since the load stays as they left it. A
// settings.txt that exists but cannot be read whole is left alone rather than
// rewritten from what little could be read.
void SaveSettingsOf(const Settings& settings, const std::vector<std::wstring>& keys);

// Turns the takeover off in the settings.txt at this path at once, on the
// calling thread, as SaveSettingsOf would: for a copy of the program other
// than this one, whose saves this process does not make.
void SaveTakeoverOffAt(const std::wstring& settingsPath);

// Writes the record's tab list to tabs.txt, the tabs' back and forward lists to
// their own file and its active tab into settings.txt, leaving every other
// setting as the files hold it.
void SaveTabList(const Settings& settings);

// Writes the record's favourites to favorites.txt alone.
void SaveFavoriteList(const Settings& settings);

// Stores the window's normal rectangle into settings.txt, leaving the other lines
// as they are, as SaveSettingsOf does.
void SaveWindowRect(const RECT& rect);
