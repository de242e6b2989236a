#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>

#include "mainwindow/folder_search.h"
#include "ui/handles.h"

// Asks the system's search service for a folder of everything below scope that
// matches query, parsed as the user would type it in the shell's own search box.
SearchOutcome MakeSearchResults(const std::wstring& scope, const std::wstring& query, ComPtr<IShellItem>& results);
