#pragma once

#include <windows.h>

#include "ui/handles.h"

// The takeover's check at each start, on a thread of its own so that the window
// does not wait for the registry: it finishes or undoes work a
// crash cut off, carries an earlier version's takeover over, follows a moved
// copy and repairs the launcher without asking, and posts every other finding
// that needs the user to the window as WM_APP_TAKEOVER_QUESTION.
class TakeoverCheck {
public:
    TakeoverCheck() = default;
    ~TakeoverCheck() { Wait(); }
    TakeoverCheck(const TakeoverCheck&) = delete;
    TakeoverCheck& operator=(const TakeoverCheck&) = delete;

    // Once per process; later calls do nothing.
    void Start(HWND target, bool setting);

    // Lets the check end before the process does, so that it is never cut off
    // part-way by a clean exit.
    void Wait();

private:
    static DWORD WINAPI Run(void* parameter);

    HWND window = nullptr;
    bool takeoverSetting = false;
    bool started = false;
    UniqueKernelHandle thread;
};
