#pragma once

#include <windows.h>

#include <cstdint>

// What a process holds, read from outside it. The two object counts are 0
// where the system does not count them (Wine).
struct ProcessCost {
    uint64_t privateBytes = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    DWORD handles = 0;
};

[[nodiscard]] ProcessCost MeasureProcess(DWORD processId);
