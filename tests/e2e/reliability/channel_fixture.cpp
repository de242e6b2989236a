#include "reliability/channel_fixture.h"

#include <sstream>

#include "common/temp_folder.h"
#include "driver/window_queries.h"

namespace {

constexpr wchar_t kPipeName[] = L"\\\\.\\pipe\\QuorlenPipe";
constexpr wchar_t kMainWindowClass[] = L"Quorlen.MainWindow";

bool WithinAllowance(unsigned long long earlier, unsigned long long later, unsigned long long allowance,
                     unsigned long long sharePercent) {
    return later <= earlier + allowance + earlier * sharePercent / 100;
}

}  // namespace

bool WriteToInstancePipe(const void* bytes, DWORD size, DWORD openTimeoutMs) {
    UniqueKernelHandle pipe;
    const bool opened = WaitUntil(
        [&] {
            pipe.reset(CreateFileW(kPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            if (!pipe && GetLastError() == ERROR_PIPE_BUSY) WaitNamedPipeW(kPipeName, 50);
            return static_cast<bool>(pipe);
        },
        openTimeoutMs, 5);
    if (!opened) return false;
    if (size == 0) return true;
    DWORD written = 0;
    return WriteFile(pipe.get(), bytes, size, &written, nullptr) && written == size;
}

bool SendPipeRequest(const std::wstring& text, DWORD openTimeoutMs) {
    return WriteToInstancePipe(text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), openTimeoutMs);
}

bool HandOffLikeASecondStart(const std::wstring& path) {
    UniqueKernelHandle pipe(CreateFileW(kPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (pipe) {
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t));
        return WriteFile(pipe.get(), path.c_str(), size, &written, nullptr) && written == size;
    }
    HWND window = FindWindowW(kMainWindowClass, nullptr);
    LRESULT answer = 0;
    return window && SendCopyData(window, 1, path.c_str(), static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)),
                                  answer);
}

bool SendCopyData(HWND window, ULONG_PTR kind, const void* data, DWORD bytes, LRESULT& result) {
    COPYDATASTRUCT record{};
    record.dwData = kind;
    record.cbData = bytes;
    record.lpData = const_cast<void*>(data);
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, 20000,
                             &answer)) {
        return false;
    }
    result = static_cast<LRESULT>(answer);
    return true;
}

bool Answers(HWND window, UINT timeoutMs) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &answer) != 0;
}

std::string DescribeResources(const ProcessCost& use) {
    std::ostringstream text;
    text << (use.handles ? std::to_string(use.handles) : "n/a") << " handles, " << use.privateBytes / 1024
         << " KiB private, GDI "
         << (use.gdiObjects ? std::to_string(use.gdiObjects) : "n/a") << ", USER "
         << (use.userObjects ? std::to_string(use.userObjects) : "n/a");
    return text.str();
}

bool WithinSteadyLevel(const ProcessCost& earlier, const ProcessCost& later, std::string& why) {
    why = "from " + DescribeResources(earlier) + " to " + DescribeResources(later);
    // The shell and Wine keep caches that grow a little with use; a leak per
    // operation grows with the operations and soon passes these allowances.
    bool steady = WithinAllowance(earlier.handles, later.handles, 60, 10) &&
                  WithinAllowance(earlier.privateBytes, later.privateBytes, 24ull << 20, 15);
    if (earlier.gdiObjects && later.gdiObjects) {
        steady = steady && WithinAllowance(earlier.gdiObjects, later.gdiObjects, 40, 10);
    }
    if (earlier.userObjects && later.userObjects) {
        steady = steady && WithinAllowance(earlier.userObjects, later.userObjects, 40, 10);
    }
    return steady;
}

void ChannelTest::SetUp() {
    TabsTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitForSavedTabs({folders[0]}));
    ASSERT_TRUE(WaitUntil([] { return WaitNamedPipeW(kPipeName, 50) != FALSE; }, 15000)) << "the pipe is not served";
}

bool ChannelTest::CloseAllButTheFirstTab() {
    return WaitUntil(
        [&] {
            const LRESULT count = Query(strip, kTabCount);
            if (count > 1) Query(strip, kCloseTab, static_cast<WPARAM>(count - 1));
            return Query(strip, kTabCount) == 1;
        },
        60000, 10);
}

bool ChannelTest::WaitForActiveTitle(const std::wstring& title, DWORD timeoutMs) {
    return WaitUntil([&] { return WindowText(strip) == title; }, timeoutMs);
}
