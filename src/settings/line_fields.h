#pragma once

#include <optional>
#include <span>
#include <string_view>

// Pieces of the lines of the tab files beside tabs.txt, read as written or
// not at all.

// A plain decimal of at most nine digits, or nothing.
[[nodiscard]] std::optional<int> SmallNumber(std::wstring_view text);

// Takes one field ending at each next mark off the front of line into fields,
// in order, leaving the rest in line; false when a mark is missing.
[[nodiscard]] bool TakeFields(std::wstring_view& line, std::span<std::wstring_view> fields, wchar_t mark);
