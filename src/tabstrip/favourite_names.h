#pragma once

#include <string>

// The name a favourite is listed under when the shell gives it none: the last
// part of its path, or the whole path when it has no parts.
[[nodiscard]] std::wstring FallbackFavouriteName(const std::wstring& path);
