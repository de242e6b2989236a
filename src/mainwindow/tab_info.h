#pragma once

#include <memory>
#include <string>

#include "panel/file_panel.h"

// One tab of a main window: what it is called and the panel that shows its folder.
struct TabInfo {
    std::wstring title;          // empty until the panel first reports a folder
    std::wstring requestedPath;  // the folder it was opened for; empty when that failed
    std::unique_ptr<FilePanel> panel;
};
