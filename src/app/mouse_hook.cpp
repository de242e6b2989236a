#include "app/mouse_hook.h"

#include "input/wheel_notches.h"
#include "tabstrip/tab_strip.h"
#include "ui/app_identity.h"
#include "ui/handles.h"

namespace {

// Written by the UI thread, which is also the only thread the hook runs on.
UniqueHook hook;
WheelNotches stripWheel;

bool IsTabStrip(HWND window) {
    wchar_t className[32] = {};
    return window && GetClassNameW(window, className, ARRAYSIZE(className)) &&
           lstrcmpW(className, kTabStripClass) == 0;
}

// The wheel goes to the focused window, usually the folder list, which would
// scroll; over a strip the wheel steps that strip's tabs instead.
LRESULT CALLBACK TabWheelHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == WM_MOUSEWHEEL) {
        const auto* event = reinterpret_cast<const MOUSEHOOKSTRUCTEX*>(lParam);
        const HWND under = WindowFromPoint(event->pt);
        if (IsTabStrip(under)) {
            PostTabSteps(GetParent(under), stripWheel.Add(static_cast<short>(HIWORD(event->mouseData))));
            return 1;
        }
    }
    return CallNextHookEx(hook.get(), code, wParam, lParam);
}

}  // namespace

void InstallTabWheelHook() { hook.reset(SetWindowsHookExW(WH_MOUSE, TabWheelHookProc, nullptr, GetCurrentThreadId())); }

void RemoveTabWheelHook() { hook.reset(); }
