#pragma once

#include <windows.h>

// The per-user choices of the shell's own file windows, which our views follow
// and the view menu changes.
inline constexpr wchar_t kExplorerAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

// A DWORD of the Advanced key, or fallback when the key or the value is missing.
[[nodiscard]] DWORD ReadAdvancedValue(const wchar_t* name, DWORD fallback);

// Writes a DWORD into the Advanced key; nothing when the key cannot be opened.
void WriteAdvancedValue(const wchar_t* name, DWORD value);
