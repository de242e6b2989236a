#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Paths as the shell's "copy as path" gives them: each in quotes, one to a line.
[[nodiscard]] std::wstring QuotedPathLines(const std::vector<std::wstring>& paths);

// Puts text on the clipboard as Unicode text; false when the clipboard could not
// be opened or the memory not had.
bool CopyTextToClipboard(HWND owner, const std::wstring& text);
