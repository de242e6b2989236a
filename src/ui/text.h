#pragma once

#include <string>
#include <string_view>

// Case-insensitive comparisons by code unit, as the file system and the window
// manager compare names; a locale's rules could call two different names equal.
[[nodiscard]] bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);
[[nodiscard]] bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix);

// The UTF-16 text of a pipe message or a WM_COPYDATA record: up to its first
// NUL, never reading past the byte count received, a trailing odd byte ignored.
[[nodiscard]] std::wstring TextUpToNul(const void* data, size_t bytes);

// The text without leading and trailing spaces and tabs.
[[nodiscard]] std::wstring TrimBlanks(std::wstring_view text);
