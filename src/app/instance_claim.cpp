#include "app/instance_claim.h"

#include "app/instance_channel.h"
#include "app/pipe_security.h"
#include "mainwindow/tabs/tab_list.h"
#include "ui/app_identity.h"

namespace {

// Per session, as the windows a start hands its folder to are.
constexpr wchar_t kInstanceMutexName[] = L"Local\\Quorlen.Instance";
constexpr DWORD kBusyPipeWaitMs = 200;
constexpr DWORD kClaimRetryMs = 20;
constexpr UINT kCopyDataTimeoutMs = 10000;

void BringToFront(HWND window) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

bool Claimed(HANDLE mutex, DWORD waitMs) {
    const DWORD outcome = WaitForSingleObject(mutex, waitMs);
    // An instance that ended without letting go (it crashed or was killed) leaves the claim abandoned: it is free.
    return outcome == WAIT_OBJECT_0 || outcome == WAIT_ABANDONED;
}

// The documented name first; the session's when that one is not the instance's.
PipeHandOff HandOffThroughPipes(const std::wstring& path, bool select) {
    const PipeHandOff documented = HandOffThroughPipe(kInstancePipeName, path, select, kBusyPipeWaitMs);
    if (documented != PipeHandOff::NotOurs && documented != PipeHandOff::Absent) return documented;
    const PipeHandOff own = HandOffThroughPipe(SessionPipeName(), path, select, kBusyPipeWaitMs);
    return own == PipeHandOff::Absent ? documented : own;
}

}  // namespace

PipeHandOff HandOffThroughPipe(const std::wstring& pipeName, const std::wstring& path, bool select,
                               DWORD busyWaitMs) {
    UniqueKernelHandle pipe(CreateFileW(pipeName.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!pipe) {
        switch (GetLastError()) {
        case ERROR_PIPE_BUSY:
            WaitNamedPipeW(pipeName.c_str(), busyWaitMs);
            return PipeHandOff::Busy;
        case ERROR_ACCESS_DENIED:
            return PipeHandOff::NotOurs;
        default:
            return PipeHandOff::Absent;
        }
    }
    // A stranger's pipe hears nothing, not even that a start came by.
    if (!ServedByOurInstance(pipe.get())) return PipeHandOff::NotOurs;
    const std::wstring text = PipeMessageText(path, select);
    if (text.empty()) return PipeHandOff::Delivered;
    return SendOneMessage(pipe.get(), text) ? PipeHandOff::Delivered : PipeHandOff::Lost;
}

bool HandOffToRunningInstance(const std::wstring& path, bool select) {
    if (!FitsPipeMessage(PipeMessageText(path, select)) || HandOffThroughPipes(path, select) != PipeHandOff::Delivered) {
        return false;
    }
    if (HWND window = FindWindowW(kMainWindowClass, nullptr)) BringToFront(window);
    return true;
}

bool HandOffThroughWindow(const std::wstring& path, bool select) {
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
    // Bounded, so that a hung instance cannot hang this start too.
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               kCopyDataTimeoutMs, &answer) != 0 &&
           answer == TRUE;
}

StartRole InstanceClaim::ClaimOrHandOff(const std::wstring& path, bool select, DWORD waitMs) {
    mutex.reset(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    // Without the claim nothing can be coordinated; serving the user beats serving no one.
    if (!mutex) return StartRole::Instance;
    // A request too long for one pipe message would be dropped by the instance
    // unread; the window message carries any length.
    const bool fitsPipe = FitsPipeMessage(PipeMessageText(path, select));
    const ULONGLONG deadline = GetTickCount64() + waitMs;
    for (DWORD claimWait = 0;; claimWait = kClaimRetryMs) {
        if (Claimed(mutex.get(), claimWait)) {
            held = true;
            return StartRole::Instance;
        }
        const PipeHandOff attempt = fitsPipe ? HandOffThroughPipes(path, select) : PipeHandOff::NotOurs;
        if (attempt == PipeHandOff::Delivered) {
            if (HWND window = FindWindowW(kMainWindowClass, nullptr)) BringToFront(window);
            return StartRole::HandedOff;
        }
        // The instance's pipe is out of reach: its window takes the request, once it has one.
        if (attempt == PipeHandOff::NotOurs && HandOffThroughWindow(path, select)) return StartRole::HandedOff;
        // An instance that is starting, closing or between two clients is waited for. One
        // that takes nothing by the end of the wait is asked through its window once more.
        if (GetTickCount64() >= deadline) {
            return HandOffThroughWindow(path, select) ? StartRole::HandedOff : StartRole::Unanswered;
        }
    }
}

void InstanceClaim::Release() {
    if (held) ReleaseMutex(mutex.get());
    held = false;
    mutex.reset();
}
