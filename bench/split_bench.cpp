#include "split_bench.h"

#include <windows.h>
#include <commctrl.h>

#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "common/temp_folder.h"
#include "probes.h"

namespace {

constexpr int kTabStripId = 7;
constexpr int kRightPaneId = 13;

// A shown list view that reports items.
bool Lists(HWND list) {
    DWORD_PTR items = 0;
    return list && IsWindowVisible(list) &&
           SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &items) && items > 0;
}

HWND RightPaneList(HWND window) {
    HWND pane = GetDlgItem(window, kRightPaneId);
    return pane ? FindDescendant(pane, L"SysListView32") : nullptr;
}

double SplitMs(HWND window) {
    const double start = NowMs();
    Chord({VK_CONTROL, VK_OEM_5});
    const double ms = MsUntil(start, [window] { return Lists(RightPaneList(window)); });
    Chord({VK_CONTROL, VK_OEM_5});
    static_cast<void>(WaitUntil([window] { return GetDlgItem(window, kRightPaneId) == nullptr; }, 30000));
    return ms;
}

double NewTabMs(HWND window) {
    HWND strip = GetDlgItem(window, kTabStripId);
    const HWND shown = ShownPanelDescendant(window, L"SysListView32");
    const double start = NowMs();
    Chord({VK_CONTROL, 'T'});
    const double ms = MsUntil(start, [&] {
        HWND list = ShownPanelDescendant(window, L"SysListView32");
        return list != shown && Lists(list);
    });
    Chord({VK_CONTROL, 'W'});
    static_cast<void>(WaitUntil([&] { return Query(strip, kTabCount) == 1; }, 30000));
    return ms;
}

}  // namespace

std::vector<std::wstring> SplitLines(const std::vector<std::wstring>& tabPaths, int count) {
    std::vector<std::wstring> lines;
    const size_t tabs = tabPaths.size();
    for (size_t tab = 0; tab < tabs && count > 0; tab += 3, --count) {
        lines.push_back(L"|" + std::to_wstring(tab) + L"|500|0|" + tabPaths[tab]);
        lines.push_back(L">0");
        lines.push_back(tabPaths[(tab + 1) % tabs]);
    }
    return lines;
}

std::vector<Figure> MeasureSplits(const std::wstring& folder, int runs) {
    Figure newTab{"Split: key to a new tab listed", "ms", {}};
    Figure split{"Split: key to the second pane listed", "ms", {}};
    for (int run = 0; run < runs; ++run) {
        QuorlenInstall install;
        QuorlenProcess process;
        if (!WriteConfigLines(install, L"settings.txt", {L"NewTabPath=" + folder}) ||
            !process.Start(install, L"\"" + folder + L"\"")) {
            continue;
        }
        const DWORD id = process.Id();
        HWND window = process.WaitForMainWindow();
        const bool ready = window && WaitUntil([id] { return ListedFolderView(id) != nullptr; }, 30000) &&
                           WaitUntil(
                               [window] {
                                   SetForegroundWindow(window);
                                   return GetForegroundWindow() == window && FocusOf(window) != nullptr;
                               },
                               30000);
        if (!ready) continue;
        if (run % 2 == 0) {
            split.samples.push_back(SplitMs(window));
            newTab.samples.push_back(NewTabMs(window));
        } else {
            newTab.samples.push_back(NewTabMs(window));
            split.samples.push_back(SplitMs(window));
        }
    }
    return {newTab, split};
}
