#pragma once

#include <string>
#include <string_view>

// Case-insensitive comparisons by code unit, as the file system and the window
// manager compare names; a locale's rules could call two different names equal.
[[nodiscard]] bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);
[[nodiscard]] bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix);

// The text without leading and trailing spaces and tabs.
[[nodiscard]] std::wstring TrimBlanks(std::wstring_view text);
