#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/handles.h"

class Application;

// The pipe through which a second start hands its folder to the running instance.
inline constexpr wchar_t kInstancePipeName[] = L"\\\\.\\pipe\\QuorlenPipe";

// The most a pipe message may hold, its terminating NUL included; a longer one
// is dropped unread.
inline constexpr DWORD kMaxPipeMessageBytes = 8190;

// A request as it travels through the pipe: "select:" and the item's path, or
// the path alone.
struct PipeRequest {
    std::wstring path;
    bool select = false;

    bool operator==(const PipeRequest&) const = default;
};
[[nodiscard]] std::wstring PipeMessageText(const std::wstring& path, bool select);
[[nodiscard]] PipeRequest ParsePipeMessage(std::wstring_view text);

// Whether a text fits into one pipe message with its NUL.
[[nodiscard]] bool FitsPipeMessage(const std::wstring& text);

// The UTF-16 text of a pipe message or a WM_COPYDATA record: up to its first
// NUL, never reading past the byte count received, a trailing odd byte ignored.
[[nodiscard]] std::wstring TextUpToNul(const void* data, size_t bytes);

// Gives the request to a running instance; false when there is none to take it.
[[nodiscard]] bool HandOff(const std::wstring& path, bool select);

// After a restart, waits (about ten seconds at most) until the previous instance
// has released the instance pipe.
void WaitForPreviousInstanceToExit();

// One instance of a pipe of the given name, serving one client from this machine.
[[nodiscard]] UniqueKernelHandle CreateInstancePipe(const wchar_t* name);

// How long a connected client may take to write its message.
inline constexpr DWORD kPipeReadTimeoutMs = 2000;

// Waits for a client on a pipe from CreateInstancePipe, reads its one message
// and disconnects it. Nothing when the client wrote nothing usable, more than a
// message may hold, or nothing within the read time-out.
[[nodiscard]] std::optional<std::wstring> ReceiveOneMessage(HANDLE pipe, DWORD readTimeoutMs = kPipeReadTimeoutMs);

// Starts the thread that serves the instance pipe for the application's windows;
// an empty handle when none runs.
[[nodiscard]] UniqueKernelHandle StartPipeServer(Application& application);
