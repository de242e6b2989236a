#include "app/mouse_hook.h"

#include "ui/app_identity.h"
#include "ui/handles.h"

namespace {

// Written by the UI thread before the hook is installed and cleared after it is
// removed; the hook runs on that same thread.
UniqueHook hook;
HWND hookedMainWindow = nullptr;
HWND hookedTabStrip = nullptr;

LRESULT CALLBACK TabWheelHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == WM_MOUSEWHEEL && hookedMainWindow && hookedTabStrip) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        if (WindowFromPoint(event->pt) == hookedTabStrip) {
            PostMessageW(hookedMainWindow, WM_APP_TAB_STEP, TabStepFromWheel(event->mouseData), 0);
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

void InstallTabWheelHook(HWND mainWindow, HWND tabStrip) {
    hookedMainWindow = mainWindow;
    hookedTabStrip = tabStrip;
    hook.reset(SetWindowsHookExW(WH_MOUSE_LL, TabWheelHookProc, GetModuleHandleW(nullptr), 0));
}

void RemoveTabWheelHook() {
    hook.reset();
    hookedMainWindow = nullptr;
    hookedTabStrip = nullptr;
}
