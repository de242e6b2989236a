#pragma once

#include <string>

#include "ui/handles.h"

// Starts a program by its command line in the system folder, so that no program
// we start keeps our own folder busy as its working folder (Windows refuses to
// move or delete a folder some process works in). The process handle is empty
// when it could not be started.
[[nodiscard]] UniqueKernelHandle StartProgram(std::wstring commandLine, DWORD creationFlags = 0,
                                              const wchar_t* application = nullptr);

// The system folder, for ShellExecuteW's working folder and for our own.
[[nodiscard]] std::wstring NeutralWorkingFolder();
