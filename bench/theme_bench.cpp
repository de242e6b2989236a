#include "theme_bench.h"

#include "common/app_mode.h"
#include "common/temp_folder.h"
#include "probes.h"

namespace {

// The window and every visible window in it have painted all they were asked to.
bool AllPainted(HWND window) {
    bool painted = !GetUpdateRect(window, nullptr, FALSE);
    EnumChildWindows(
        window,
        [](HWND child, LPARAM all) -> BOOL {
            if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) *reinterpret_cast<bool*>(all) = false;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&painted));
    return painted;
}

}  // namespace

Figure MeasureThemeSwitches(HWND window, int runs) {
    Figure switches{"Theme switch, 10 tabs: told to all painted", "ms", {}};
    const AppModeOverride mode;
    for (int run = 0; run < runs; ++run) {
        if (!mode.Set(run % 2 == 1) || !WaitUntil([window] { return AllPainted(window); }, 10000)) continue;
        const double start = NowMs();
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                                 SMTO_ABORTIFHUNG, 5000, &ignored)) {
            continue;
        }
        switches.samples.push_back(MsUntil(start, [window] { return AllPainted(window); }));
    }
    return switches;
}
