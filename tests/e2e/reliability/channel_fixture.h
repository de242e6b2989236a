#pragma once

#include <windows.h>

#include <string>

#include "driver/process_cost.h"
#include "tabs_fixture.h"

// What an outside program can do to the running instance's single-instance
// channel, and what it can read back about the process.

// Writes raw bytes into the instance pipe as one client, retrying for a while
// when the pipe is busy; false when it never opened or the write failed.
[[nodiscard]] bool WriteToInstancePipe(const void* bytes, DWORD size, DWORD openTimeoutMs = 15000);

// A request written as a second start writes it: the text and its NUL.
[[nodiscard]] bool SendPipeRequest(const std::wstring& text, DWORD openTimeoutMs = 15000);

// A request as a second start hands it over: through the pipe when it opens at
// once, else as WM_COPYDATA to the window. False when neither carrier took it.
[[nodiscard]] bool HandOffLikeASecondStart(const std::wstring& path);

// Sends a WM_COPYDATA record; false when the window did not answer in time.
[[nodiscard]] bool SendCopyData(HWND window, ULONG_PTR kind, const void* data, DWORD bytes, LRESULT& result);

// Whether the window answers a message within the time-out.
[[nodiscard]] bool Answers(HWND window, UINT timeoutMs = 5000);

[[nodiscard]] std::string DescribeResources(const ProcessCost& use);

// Whether the later use stays within a tolerance of the earlier one: an
// absolute allowance plus a share of the earlier figure, for each count the
// system gives.
[[nodiscard]] bool WithinSteadyLevel(const ProcessCost& earlier, const ProcessCost& later, std::string& why);

// One instance started on folders[0], its pipe served.
class ChannelTest : public TabsTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + folders[0] + L"\""; }
    void SetUp() override;

    // Closes every tab but the first and waits until only it is left.
    [[nodiscard]] bool CloseAllButTheFirstTab();

    // Waits until the active tab shows a title.
    [[nodiscard]] bool WaitForActiveTitle(const std::wstring& title, DWORD timeoutMs = 20000);

    static std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
};
