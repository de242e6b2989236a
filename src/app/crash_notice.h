#pragma once

#include <windows.h>

#include "ui/balloon_notice.h"

// Tells the user, at the start after a crash, that the program ended
// unexpectedly and where the report is; each report is told of once.
class CrashNotice {
public:
    CrashNotice() = default;
    ~CrashNotice();
    CrashNotice(const CrashNotice&) = delete;
    CrashNotice& operator=(const CrashNotice&) = delete;

    // Shows the notice over the window, without taking the focus, when the
    // crash folder's newest report has not been told of; it goes by itself
    // after a while. Marks the report as told once the notice is shown.
    void TellOfNewReport(HWND window);

private:
    static void CALLBACK EndNotice(HWND window, UINT message, UINT_PTR timer, DWORD time);
    [[nodiscard]] UINT_PTR TimerId() const { return reinterpret_cast<UINT_PTR>(this); }

    BalloonNotice balloon;
    HWND timerWindow = nullptr;
};
