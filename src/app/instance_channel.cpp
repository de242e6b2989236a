#include "app/instance_channel.h"

#include "app/hand_off_queue.h"
#include "app/pipe_security.h"
#include "ui/text.h"

namespace {

constexpr wchar_t kSelectPrefix[] = L"select:";
constexpr size_t kSelectPrefixLength = 7;
constexpr DWORD kPipeBufferBytes = 8192;
constexpr DWORD kPipeRetryMs = 1000;

// Waits for an overlapped operation on the pipe, at most waitMs, or until the
// stop event (if any) is set; one that has not finished by then is cancelled.
// True when it succeeded, with its byte count.
bool FinishPipeOperation(HANDLE pipe, OVERLAPPED& operation, DWORD waitMs, DWORD& bytes, HANDLE stop = nullptr) {
    const HANDLE events[] = {operation.hEvent, stop};
    if (WaitForMultipleObjects(stop ? 2 : 1, events, FALSE, waitMs) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        // The cancelled operation still writes its outcome before the record may
        // go, and it may have finished after all: then it counts.
        return GetOverlappedResult(pipe, &operation, &bytes, TRUE) != FALSE;
    }
    return GetOverlappedResult(pipe, &operation, &bytes, FALSE) != FALSE;
}

// Starts an overlapped read into the buffer and waits for it, at most waitMs.
bool ReadWithin(HANDLE pipe, HANDLE event, void* buffer, DWORD size, DWORD waitMs, DWORD& bytes) {
    ResetEvent(event);
    OVERLAPPED operation{};
    operation.hEvent = event;
    if (ReadFile(pipe, buffer, size, &bytes, &operation)) return GetOverlappedResult(pipe, &operation, &bytes, FALSE);
    if (GetLastError() != ERROR_IO_PENDING) return false;
    return FinishPipeOperation(pipe, operation, waitMs, bytes);
}

bool Stopped(HANDLE stop) { return stop && WaitForSingleObject(stop, 0) == WAIT_OBJECT_0; }

}  // namespace

std::wstring SessionPipeName() {
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return std::wstring(kInstancePipeName) + L"-" + std::to_wstring(session);
}

std::wstring PipeMessageText(const std::wstring& path, bool select) {
    return select ? kSelectPrefix + path : path;
}

PipeRequest ParsePipeMessage(std::wstring_view text) {
    if (text.substr(0, kSelectPrefixLength) == kSelectPrefix) {
        return PipeRequest{std::wstring(text.substr(kSelectPrefixLength)), true};
    }
    return PipeRequest{std::wstring(text), false};
}

bool FitsPipeMessage(const std::wstring& text) { return (text.size() + 1) * sizeof(wchar_t) <= kMaxPipeMessageBytes; }

UniqueKernelHandle CreateInstancePipe(const wchar_t* name, bool firstOfName) {
    UniqueSecurityDescriptor descriptor = CurrentUserOnlySecurity();
    if (!descriptor) return {};
    SECURITY_ATTRIBUTES security{sizeof(security), descriptor.get(), FALSE};
    // Hand-offs come from this machine only: a folder path from the network has
    // no business opening windows here. Overlapped, so that a client that never
    // writes can be given up on.
    return UniqueKernelHandle(CreateNamedPipeW(
        name, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | (firstOfName ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0),
        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 4, 0, kPipeBufferBytes, 0,
        &security));
}

std::optional<std::wstring> ReceiveOneMessage(HANDLE pipe, HANDLE stop, DWORD readTimeoutMs) {
    UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event) return std::nullopt;
    OVERLAPPED operation{};
    operation.hEvent = event.get();
    DWORD bytes = 0;
    // A client that has written and closed before the wait began leaves its
    // message behind: the pipe reports it as closing, and the message can still be read.
    if (!ConnectNamedPipe(pipe, &operation)) {
        const DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            if (!FinishPipeOperation(pipe, operation, INFINITE, bytes, stop)) return std::nullopt;
        } else if (error != ERROR_PIPE_CONNECTED && error != ERROR_NO_DATA) {
            return std::nullopt;
        }
    }
    // A message longer than the limit makes the read fail: it is dropped whole
    // rather than cut. A client that connects and says nothing would hold the
    // only instance, and every later hand-off would find the pipe busy: it gets
    // a moment to write, then it is let go.
    wchar_t buffer[kPipeBufferBytes / sizeof(wchar_t)] = {};
    const bool received = ReadWithin(pipe, event.get(), buffer, kMaxPipeMessageBytes, readTimeoutMs, bytes);
    if (received) {
        // The client may be waiting to learn that its message was read; it
        // learns it only while still connected, so it is given the moment to go.
        char ignored[16];
        DWORD more = 0;
        ReadWithin(pipe, event.get(), ignored, sizeof(ignored), readTimeoutMs, more);
    }
    DisconnectNamedPipe(pipe);
    if (!received || bytes < sizeof(wchar_t)) return std::nullopt;
    return TextUpToNul(buffer, bytes);
}

bool SendOneMessage(HANDLE pipe, const std::wstring& text) {
    const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    DWORD written = 0;
    if (!WriteFile(pipe, text.c_str(), size, &written, nullptr) || written != size) return false;
    // The flush waits while the server has not read the message. A server that
    // read it keeps the pipe until this end goes, so an empty write that still
    // gets through shows that it was read, not dropped with the pipe.
    FlushFileBuffers(pipe);
    return WriteFile(pipe, text.c_str(), 0, &written, nullptr) != FALSE;
}

void PipeServer::Start(HandOffQueue& handOffs) {
    if (thread) return;
    queue = &handOffs;
    stopEvent.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stopEvent) return;
    firstPipe = CreateFirstInstance(servedName);
    thread.reset(CreateThread(nullptr, 0, Serve, this, 0, nullptr));
    if (!thread) firstPipe.reset();
}

void PipeServer::Stop() {
    if (!thread) return;
    SetEvent(stopEvent.get());
    WaitForSingleObject(thread.get(), INFINITE);
    thread.reset();
    firstPipe.reset();
    stopEvent.reset();
}

UniqueKernelHandle PipeServer::CreateFirstInstance(std::wstring& name) {
    name = kInstancePipeName;
    if (UniqueKernelHandle pipe = CreateInstancePipe(name.c_str())) return pipe;
    name = SessionPipeName();
    return CreateInstancePipe(name.c_str());
}

DWORD WINAPI PipeServer::Serve(void* parameter) {
    auto& server = *static_cast<PipeServer*>(parameter);
    const HANDLE stop = server.stopEvent.get();
    UniqueKernelHandle pipe = std::move(server.firstPipe);
    while (!Stopped(stop)) {
        if (!pipe) {
            // Not made yet, or lost: taken afresh, and only if no other program
            // has taken the name meanwhile.
            pipe = CreateFirstInstance(server.servedName);
            if (!pipe) WaitForSingleObject(stop, kPipeRetryMs);
            continue;
        }
        if (std::optional<std::wstring> text = ReceiveOneMessage(pipe.get(), stop)) {
            server.queue->Deliver(ParsePipeMessage(*text));
        }
        // The next instance is made before the last one goes, so that the name
        // never lapses for a moment in which a start finds no pipe or another
        // program could take it.
        if (!Stopped(stop)) pipe = CreateInstancePipe(server.servedName.c_str(), false);
    }
    return 0;
}
