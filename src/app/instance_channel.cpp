#include "app/instance_channel.h"

#include <cwchar>

#include "app/application.h"
#include "app/posted_path.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/tab_list.h"

namespace {

constexpr wchar_t kSelectPrefix[] = L"select:";
constexpr size_t kSelectPrefixLength = 7;
constexpr DWORD kPipeBufferBytes = 8192;
constexpr DWORD kPipeRetryMs = 1000;
constexpr UINT kCopyDataTimeoutMs = 30000;

void BringToFront(HWND window) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

// Opens a running instance's pipe without waiting for it to be free.
UniqueKernelHandle OpenInstancePipe() {
    return UniqueKernelHandle(CreateFileW(kInstancePipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
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
        if (UniqueKernelHandle pipe = OpenInstancePipe()) {
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
    // The pipe is busy, between two clients, or the request does not fit: the
    // window itself takes the folder. The message carries no selection, so an
    // item to select is shown by its folder rather than opened as a folder itself.
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
    // A running window that does not answer leaves the folder to this process:
    // the user gets a window either way instead of a start that hangs.
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               kCopyDataTimeoutMs, &answer) != 0;
}

void WaitForPreviousInstanceToExit() {
    // Each open makes the previous instance close that pipe and make a new one,
    // and in between the pipe is briefly busy or not there at all. The wait ends
    // once it has stayed away for several tries in a row.
    constexpr int kAbsencesMeaningGone = 5;
    int absences = 0;
    for (int attempt = 0; attempt < 500 && absences < kAbsencesMeaningGone; ++attempt) {
        UniqueKernelHandle pipe = OpenInstancePipe();
        const bool present = pipe || GetLastError() == ERROR_PIPE_BUSY;
        absences = present ? 0 : absences + 1;
        pipe.reset();
        Sleep(20);
    }
}

UniqueKernelHandle CreateInstancePipe(const wchar_t* name) {
    // Hand-offs come from this machine only: a folder path from the network has
    // no business opening windows here.
    return UniqueKernelHandle(CreateNamedPipeW(
        name, PIPE_ACCESS_INBOUND, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 4,
        0, kPipeBufferBytes, 0, nullptr));
}

std::optional<std::wstring> ReceiveOneMessage(HANDLE pipe) {
    // A client that has written and closed before the wait began leaves its
    // message behind: the pipe reports it as closing, and the message can still be read.
    if (!ConnectNamedPipe(pipe, nullptr)) {
        const DWORD error = GetLastError();
        if (error != ERROR_PIPE_CONNECTED && error != ERROR_NO_DATA) return std::nullopt;
    }
    wchar_t buffer[kPipeBufferBytes / sizeof(wchar_t)] = {};
    DWORD read = 0;
    // A message longer than the limit makes the read fail: it is dropped whole
    // rather than cut.
    const bool received = ReadFile(pipe, buffer, kMaxPipeMessageBytes, &read, nullptr) && read >= sizeof(wchar_t);
    DisconnectNamedPipe(pipe);
    if (!received) return std::nullopt;
    return TextUpToNul(buffer, read);
}

UniqueKernelHandle StartPipeServer(Application& application) {
    return UniqueKernelHandle(CreateThread(nullptr, 0, PipeServerThread, &application, 0, nullptr));
}
