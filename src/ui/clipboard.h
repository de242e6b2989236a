#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Paths as the shell's "copy as path" gives them: each in quotes, one to a line.
// Only paths on a disk or a share: "::{…}" names of virtual items and of places
// such as This PC mean nothing where a path is pasted, and are left out.
[[nodiscard]] std::wstring QuotedPathLines(const std::vector<std::wstring>& paths);

// Puts text on the clipboard as Unicode text; false when the clipboard could not
// be opened or the memory not had. Another program may hold the clipboard for
// a moment: opening it is tried a few times first.
bool CopyTextToClipboard(HWND owner, const std::wstring& text);
