#pragma once

#include <windows.h>

#include <optional>
#include <string>

inline constexpr wchar_t kTabNameDialogClass[] = L"Quorlen.TabNameDlg";
// The edit box the name is typed in, for tools that fill it.
inline constexpr int kTabNameEditId = 4301;

// Asks over owner for a tab's own name. current: the name it has now, empty for
// none; folderName: the folder's name, which an empty name falls back to and
// which the box starts with when there is no name. The text as typed, trimmed
// of blanks, when confirmed (empty clears the name); nothing when cancelled.
[[nodiscard]] std::optional<std::wstring> AskTabName(HWND owner, const std::wstring& current,
                                                     const std::wstring& folderName);
