#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shobjidl.h>

// Index of a closed folder's icon in the small system image list; asked of the
// shell once and then remembered. -1 while the shell has not answered.
[[nodiscard]] int FolderIconIndex();

// A new large folder icon, owned by the caller; null on failure.
[[nodiscard]] HICON FolderIconLarge();

// The shell's small system image list; shared, never destroyed by the caller.
[[nodiscard]] HIMAGELIST SmallSystemImageList();

// The item's index in the small system image list, -1 on failure.
[[nodiscard]] int ItemIconIndex(IShellItem* item, bool open);
