#include "app/instance_channel.h"

#include <cwchar>

#include "app/application.h"
#include "app/posted_path.h"
#include "mainwindow/tab_list.h"
#include "ui/app_identity.h"

namespace {

constexpr wchar_t kSelectPrefix[] = L"select:";
constexpr size_t kSelectPrefixLength = 7;
constexpr DWORD kPipeBufferBytes = 8192;
constexpr DWORD kPipeRetryMs = 1000;
constexpr UINT kCopyDataTimeoutMs = 10000;
constexpr DWORD kPipeTurnWaitMs = 3000;
constexpr DWORD kPipeGapPollMs = 10;

void BringToFront(HWND window) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

// Opens a running instance's pipe, waiting at most waitMs for its turn. The
// instance serves one client at a time and needs a moment between two; a
// request that waits keeps its place behind those made before it, where the
// window message would overtake them.
UniqueKernelHandle OpenInstancePipe(DWORD waitMs) {
    const ULONGLONG deadline = GetTickCount64() + waitMs;
    for (;;) {
        UniqueKernelHandle pipe(
            CreateFileW(kInstancePipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (pipe) return pipe;
        const DWORD error = GetLastError();
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return pipe;
        if (error == ERROR_PIPE_BUSY) {
            WaitNamedPipeW(kInstancePipeName, static_cast<DWORD>(deadline - now));
        } else if (error == ERROR_FILE_NOT_FOUND && FindWindowW(kMainWindowClass, nullptr)) {
            Sleep(kPipeGapPollMs);
        } else {
            return pipe;
        }
    }
}

// Waits for an overlapped operation on the pipe, at most waitMs; one that has
// not finished by then is cancelled. True when it succeeded, with its byte count.
bool FinishPipeOperation(HANDLE pipe, OVERLAPPED& operation, DWORD waitMs, DWORD& bytes) {
    if (WaitForSingleObject(operation.hEvent, waitMs) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        // The cancelled operation still writes its outcome before the record may go.
        GetOverlappedResult(pipe, &operation, &bytes, TRUE);
        return false;
    }
    return GetOverlappedResult(pipe, &operation, &bytes, FALSE) != FALSE;
}

void OnPipeMessage(Application& application, const std::wstring& text) {
    const PipeRequest request = ParsePipeMessage(text);
    HWND target = application.ActiveHwnd();
    if (!target || !IsWindow(target)) target = FindWindowW(kMainWindowClass, nullptr);
    if (!target) return;
    const LPARAM path = PostablePath(request.path);
    if (!PostMessageW(target, WM_APP_OPEN_PATH, request.select ? 1 : 0, path)) DiscardPostedPath(path);
}

DWORD WINAPI PipeServerThread(void* parameter) {
    auto& application = *static_cast<Application*>(parameter);
    for (;;) {
        UniqueKernelHandle pipe = CreateInstancePipe(kInstancePipeName);
        if (!pipe) {
            Sleep(kPipeRetryMs);
            continue;
        }
        if (std::optional<std::wstring> text = ReceiveOneMessage(pipe.get())) OnPipeMessage(application, *text);
    }
}

}  // namespace

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

std::wstring TextUpToNul(const void* data, size_t bytes) {
    if (!data) return {};
    const auto* text = static_cast<const wchar_t*>(data);
    return std::wstring(text, wcsnlen(text, bytes / sizeof(wchar_t)));
}

bool HandOff(const std::wstring& path, bool select) {
    const std::wstring text = PipeMessageText(path, select);
    // A request too long for one message would be dropped by the instance after
    // this process had already reported it delivered; the window message carries any length.
    if (FitsPipeMessage(text)) {
        if (UniqueKernelHandle pipe = OpenInstancePipe(kPipeTurnWaitMs)) {
            if (!text.empty()) {
                DWORD written = 0;
                WriteFile(pipe.get(), text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), &written,
                          nullptr);
            }
            pipe.reset();
            if (HWND window = FindWindowW(kMainWindowClass, nullptr)) BringToFront(window);
            return true;
        }
    }
    // The pipe stayed busy, or the request does not fit: the window itself
    // takes the folder. The message carries no selection, so an item to select
    // is shown by its folder rather than opened as a folder itself.
    HWND window = FindWindowW(kMainWindowClass, nullptr);
    if (!window) return false;
    if (path.empty()) {
        BringToFront(window);
        return true;
    }
    const std::wstring folder = select ? FolderToShowForSelection(path) : path;
    COPYDATASTRUCT data{};
    data.dwData = 1;
    data.cbData = static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(folder.c_str());
    // The wait is bounded so that a hung instance cannot hang this start too.
    // Even unanswered, the request stays with the running instance: a second
    // one beside it would serve the same pipe and write the same configuration.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kCopyDataTimeoutMs,
                        &answer);
    return true;
}

void WaitForPreviousInstanceToExit() {
    // Each open makes the previous instance close that pipe and make a new one,
    // and in between the pipe is briefly busy or not there at all. The wait ends
    // once it has stayed away for several tries in a row.
    constexpr int kAbsencesMeaningGone = 5;
    int absences = 0;
    for (int attempt = 0; attempt < 500 && absences < kAbsencesMeaningGone; ++attempt) {
        UniqueKernelHandle pipe = OpenInstancePipe(0);
        const bool present = pipe || GetLastError() == ERROR_PIPE_BUSY;
        absences = present ? 0 : absences + 1;
        pipe.reset();
        Sleep(20);
    }
}

UniqueKernelHandle CreateInstancePipe(const wchar_t* name) {
    // Hand-offs come from this machine only: a folder path from the network has
    // no business opening windows here. Overlapped, so that a client that never
    // writes can be given up on.
    return UniqueKernelHandle(CreateNamedPipeW(
        name, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 4, 0, kPipeBufferBytes, 0,
        nullptr));
}

std::optional<std::wstring> ReceiveOneMessage(HANDLE pipe, DWORD readTimeoutMs) {
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
            if (!FinishPipeOperation(pipe, operation, INFINITE, bytes)) return std::nullopt;
        } else if (error != ERROR_PIPE_CONNECTED && error != ERROR_NO_DATA) {
            return std::nullopt;
        }
    }
    wchar_t buffer[kPipeBufferBytes / sizeof(wchar_t)] = {};
    ResetEvent(event.get());
    operation = OVERLAPPED{};
    operation.hEvent = event.get();
    // A message longer than the limit makes the read fail: it is dropped whole
    // rather than cut. A client that connects and says nothing would hold the
    // only instance, and every later hand-off would find the pipe busy: it gets
    // a moment to write, then it is let go.
    bool received = ReadFile(pipe, buffer, kMaxPipeMessageBytes, &bytes, &operation) != FALSE;
    if (!received && GetLastError() == ERROR_IO_PENDING) {
        received = FinishPipeOperation(pipe, operation, readTimeoutMs, bytes);
    } else if (received) {
        received = GetOverlappedResult(pipe, &operation, &bytes, FALSE) != FALSE;
    }
    DisconnectNamedPipe(pipe);
    if (!received || bytes < sizeof(wchar_t)) return std::nullopt;
    return TextUpToNul(buffer, bytes);
}

UniqueKernelHandle StartPipeServer(Application& application) {
    return UniqueKernelHandle(CreateThread(nullptr, 0, PipeServerThread, &application, 0, nullptr));
}
