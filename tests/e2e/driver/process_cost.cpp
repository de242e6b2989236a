#include "driver/process_cost.h"

#include <psapi.h>

ProcessCost MeasureProcess(DWORD processId) {
    ProcessCost cost;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return cost;
    // The commit charge is the process's private bytes; Wine fills in only the
    // basic counters, so the extended structure's PrivateUsage would read 0.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process, &memory, sizeof(memory))) cost.privateBytes = memory.PagefileUsage;
    cost.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    cost.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    GetProcessHandleCount(process, &cost.handles);
    CloseHandle(process);
    return cost;
}
