#include <windows.h>

#include <string>

// Stands in for a program that a stored command line starts: appends the command
// line it was given, and a line end, to "arguments.txt" beside itself, so that a
// test can see whether it ran and with what. Its window-less subsystem keeps it
// from opening a console.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t self[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4) return 1;
    std::wstring record(self, length);
    record.resize(record.rfind(L'\\') + 1);
    record += L"arguments.txt";
    const HANDLE file = CreateFileW(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
