#include "app/mouse_hook.h"

#include "tabstrip/tab_strip.h"
#include "ui/app_identity.h"
#include "ui/handles.h"

namespace {

// Written by the UI thread, which is also the only thread the hook runs on.
UniqueHook hook;

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
            PostMessageW(GetParent(under), WM_APP_TAB_STEP, TabStepFromWheel(event->mouseData), 0);
            return 1;
        }
    }
    return CallNextHookEx(hook.get(), code, wParam, lParam);
}

}  // namespace

WPARAM TabStepFromWheel(DWORD mouseData) {
    const auto delta = static_cast<short>(HIWORD(mouseData));
    return delta > 0 ? 1 : 0;
}

void InstallTabWheelHook() { hook.reset(SetWindowsHookExW(WH_MOUSE, TabWheelHookProc, nullptr, GetCurrentThreadId())); }

void RemoveTabWheelHook() { hook.reset(); }
