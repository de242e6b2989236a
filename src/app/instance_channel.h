#pragma once

#include <string>

#include "ui/handles.h"

// The pipe through which a second start hands its folder to the running instance.
inline constexpr wchar_t kInstancePipeName[] = L"\\\\.\\pipe\\QuorlenPipe";

// The path carried by the fallback WM_COPYDATA: UTF-16 text up to its first NUL,
// never reading past the byte count the sender gave.
[[nodiscard]] std::wstring CopyDataPath(const void* data, size_t bytes);

// Gives the request to a running instance; false when there is none to take it.
[[nodiscard]] bool HandOff(const std::wstring& path, bool select);

// After a restart, waits (about ten seconds at most) until the previous instance
// has released the instance pipe.
void WaitForPreviousInstanceToExit();

// Starts the thread that serves the instance pipe; an empty handle when none runs.
[[nodiscard]] UniqueKernelHandle StartPipeServer();
