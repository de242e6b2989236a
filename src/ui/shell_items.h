#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>

// A shell item for a parsing name (a file-system path or a "::{class id}" name).
// E_POINTER without an out slot, E_INVALIDARG for an empty path.
HRESULT ItemFromPath(const std::wstring& path, IShellItem** item);

// A shell item for an absolute item ID list; E_INVALIDARG for a null list.
HRESULT ItemFromIdList(PCIDLIST_ABSOLUTE list, IShellItem** item);

// The name shown to the user; empty when the item is null or has none.
[[nodiscard]] std::wstring DisplayName(IShellItem* item);

// The desktop-absolute parsing name that identifies a folder; empty on failure.
[[nodiscard]] std::wstring ParsingPath(IShellItem* item);
