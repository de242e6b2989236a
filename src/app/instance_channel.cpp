#include "app/instance_channel.h"

#include <windows.h>

#include <cwchar>

std::wstring CopyDataPath(const void* data, size_t bytes) {
    if (!data) return {};
    const auto* text = static_cast<const wchar_t*>(data);
    return std::wstring(text, wcsnlen(text, bytes / sizeof(wchar_t)));
}

// No instance serves the pipe yet, so there is never a running instance to take a request.
bool HandOff(const std::wstring&, bool) { return false; }

void WaitForPreviousInstanceToExit() {
    for (int attempt = 0; attempt < 500; ++attempt) {
        UniqueKernelHandle pipe(CreateFileW(kInstancePipeName, GENERIC_WRITE, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        // Between two clients the previous instance's pipe is briefly busy; that
        // instance is still there. Only a pipe that no longer exists ends the wait.
        if (!pipe && GetLastError() != ERROR_PIPE_BUSY) return;
        pipe.reset();
        Sleep(20);
    }
}

UniqueKernelHandle StartPipeServer() { return UniqueKernelHandle(); }
