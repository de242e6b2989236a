#pragma once

#include <string>

// The path without trailing backslashes, except that a drive root keeps its own:
// backslashes go only while the path is longer than three characters.
[[nodiscard]] std::wstring WithoutTrailingBackslashes(std::wstring path);

// Whether two paths name the same folder, ignoring letter case and trailing
// backslashes. "C:\" and "C:" differ: the bare drive names that drive's current folder.
[[nodiscard]] bool SamePath(const std::wstring& a, const std::wstring& b);
