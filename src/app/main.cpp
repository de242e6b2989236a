#include <windows.h>

#include "app/application.h"
#include "settings/save_queue.h"

namespace {

void MakeProcessDpiAware() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return;
    using SetContextFunction = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    // Looked up at run time: older systems lack the per-monitor v2 context.
    auto setContext = reinterpret_cast<SetContextFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    if (setContext) {
        setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    } else {
        SetProcessDPIAware();
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MakeProcessDpiAware();
    const int exitCode = Application::Instance().Run();
    // Whichever way the run ended, what it saved reaches the files before the process goes.
    FinishSaves();
    return exitCode;
}
