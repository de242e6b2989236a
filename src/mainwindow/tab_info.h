#pragma once

#include <string>

// One tab of a main window.
struct TabInfo {
    std::wstring title;
};
