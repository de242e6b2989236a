#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "driver/process_cost.h"

// What the benchmarks observe from outside the process under test.

// A visible list view below a visible top-level window of the process that
// reports at least one item: the folder is on screen. Null when there is none.
[[nodiscard]] HWND ListedFolderView(DWORD processId);

// The visible list view below a window, listed or not; null when there is none.
[[nodiscard]] HWND VisibleListView(HWND topLevel);

// Milliseconds since an arbitrary start, with the performance counter's precision.
[[nodiscard]] double NowMs();

// Polls every couple of milliseconds until the condition holds; the time it
// took in milliseconds, or a negative value when timeoutMs passed first.
template <typename Condition>
double MsUntil(double startMs, Condition condition, double timeoutMs = 30000) {
    while (NowMs() - startMs < timeoutMs) {
        if (condition()) return NowMs() - startMs;
        Sleep(2);
    }
    return -1;
}


// The process's processor time so far, user and kernel, in milliseconds; a
// negative value when it cannot be read.
[[nodiscard]] double CpuMs(HANDLE process);

// Milliseconds from startMs until the process went idle: the first moment
// after which it used less than quietCpuMs of processor time over the next
// quietForMs. Negative when that did not happen within timeoutMs.
[[nodiscard]] double MsUntilIdle(HANDLE process, double startMs, double quietForMs = 500, double quietCpuMs = 5,
                                 double timeoutMs = 60000);
