#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/handles.h"

// The pipe through which a second start hands its folder to the running instance.
inline constexpr wchar_t kInstancePipeName[] = L"\\\\.\\pipe\\QuorlenPipe";

// Pipe names are shared by every session of the machine: while the name above
// is held by another (another user's instance, say), this session's instance
// serves this one, the name followed by "-" and the session's number.
[[nodiscard]] std::wstring SessionPipeName();

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


// One instance of a pipe of the given name, serving one client from this
// machine; only this user may open it. The first instance of a name fails when
// another program made the name first, so that its pipe is never shared; a
// later one joins the instances this process already serves.
[[nodiscard]] UniqueKernelHandle CreateInstancePipe(const wchar_t* name, bool firstOfName = true);

// How long a connected client may take to write its message, and then to go.
inline constexpr DWORD kPipeReadTimeoutMs = 2000;

// Waits for a client on a pipe from CreateInstancePipe, reads its one message
// and disconnects it once it has gone, so that a client that waits for its
// message to be read learns that it was. Nothing when the client wrote nothing
// usable, more than a message may hold, or nothing within the read time-out,
// nor when the stop event (if any) was set before a client came.
[[nodiscard]] std::optional<std::wstring> ReceiveOneMessage(HANDLE pipe, HANDLE stop = nullptr,
                                                          DWORD readTimeoutMs = kPipeReadTimeoutMs);

// Writes one message (the text and its NUL) as a client of a pipe from
// CreateInstancePipe, and waits until the server has read it. False when the
// pipe went away before it had: the request may not have arrived.
[[nodiscard]] bool SendOneMessage(HANDLE pipe, const std::wstring& text);

class HandOffQueue;

// Serves the instance pipe on a thread of its own and delivers every request
// it reads to the queue.
class PipeServer {
public:
    PipeServer() = default;
    ~PipeServer() { Stop(); }
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;

    // Makes the pipe at once, on the calling thread, so that a start racing
    // this one finds it from now on, then serves it. Without a thread the
    // instance takes requests through its windows only.
    void Start(HandOffQueue& handOffs);

    // Takes no further client. A client already connected is still read and
    // its request delivered; the call returns once the thread has ended.
    void Stop();

private:
    static DWORD WINAPI Serve(void* parameter);

    // The first instance under the documented name, else under the session's.
    static UniqueKernelHandle CreateFirstInstance(std::wstring& name);

    HandOffQueue* queue = nullptr;
    std::wstring servedName;
    UniqueKernelHandle firstPipe;
    UniqueKernelHandle stopEvent;
    UniqueKernelHandle thread;
};
