#include "ui/process_start.h"

#include <windows.h>

std::wstring NeutralWorkingFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

UniqueKernelHandle StartProgram(std::wstring commandLine, DWORD creationFlags, const wchar_t* application) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const std::wstring folder = NeutralWorkingFolder();
    if (!CreateProcessW(application, commandLine.data(), nullptr, nullptr, FALSE, creationFlags, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        return {};
    }
    CloseHandle(info.hThread);
    return UniqueKernelHandle(info.hProcess);
}
