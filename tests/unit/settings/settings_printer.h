#pragma once

#include <ostream>
#include <string>

#include "common/private_prefix.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

// Lets a failed comparison of two records show their fields rather than bytes.
inline void PrintTo(const Settings& settings, std::ostream* out) {
    for (const std::wstring& line : PrintSettingsLines(settings)) *out << NarrowForTest(line) << "; ";
    *out << "HasWindowRect=" << settings.HasWindowRect << "; Favorites=[";
    for (const std::wstring& path : settings.Favorites) *out << NarrowForTest(path) << "; ";
    *out << "] TabPaths=[";
    for (const std::wstring& path : settings.TabPaths) *out << NarrowForTest(path) << "; ";
    *out << "] TabHistories=[";
    for (const TabHistory& history : settings.TabHistories) {
        *out << history.current << ":" << history.entries.size() << "; ";
    }
    *out << "]";
}
