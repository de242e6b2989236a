#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A full listing of a registry tree, to compare a tree before and after an
// operation: one line per key (its path below the root) and one per value
// (name, type, byte count and data, string data shown as its code units, zeros
// included). Subkeys and values are listed in name order. An absent tree lists
// as nothing; the root key's own values are listed under the path "".
[[nodiscard]] std::vector<std::wstring> ExportRegistryTree(HKEY root, const std::wstring& path);
