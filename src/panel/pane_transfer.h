#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

// Copying and moving items from one pane into the folder another pane shows,
// the way the user's shell does it: its progress, its questions when a name is
// taken, and a step the user can undo. Window thread only: the shell's dialogs
// are modal to the owner, and the call returns when the work is done.

// Copies (or moves) the items into the destination folder. True when the
// operation ran, including when the user cancelled it; false when nothing
// could be done, which is logged.
[[nodiscard]] bool TransferItems(HWND owner, IShellItemArray* items, IShellItem* destination, bool move);

// The list of paths SHFileOperationW reads: each path ends with a NUL and the
// list with one more. Empty when there are no paths or one of them is empty,
// since an empty entry would end the list early.
[[nodiscard]] std::wstring NulSeparatedPathList(const std::vector<std::wstring>& paths);

// Whether a failure from IFileOperation means the system lacks the service
// (Wine's stub, a missing class), as opposed to the copy itself failing.
[[nodiscard]] bool FileOperationUnavailable(HRESULT result);
