#pragma once

#include <windows.h>
#include <objidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ui/handles.h"

// Dragging files and folders with OLE from a window of this process, as another
// program's drag comes: real mouse input presses on that window, DoDragDrop runs
// on this thread, and a second thread moves the cursor on and lets go.

// The data object the shell makes for a file or folder, the one a file view's
// drag carries.
[[nodiscard]] HRESULT ShellDataObject(const std::wstring& path, ComPtr<IDataObject>& data);

struct DropOutcome {
    DWORD shown = DROPEFFECT_NONE;    // the effect the target last gave the drag's feedback
    DWORD dropped = DROPEFFECT_NONE;  // the one DoDragDrop reports
};

// Drags the data to a screen point, moves the cursor there until arrived holds
// (giving the move again and again, as moves get lost) and drops it. This thread
// needs OLE. Failure names the step that did not happen.
[[nodiscard]] testing::AssertionResult DropDataAt(IDataObject* data, POINT to, const std::function<bool()>& arrived,
                                                  DropOutcome& outcome);
