#include <optional>
#include <string>
#include <utility>

#include "dialogs/tab_name_dialog.h"
#include "mainwindow/main_window.h"

void MainWindow::TogglePin(int index) {
    if (!tabs.Has(index)) return;
    tabs.SetPinned(index, !tabs.At(index).marks.pinned);
    stripSync.Sync();
    Layout();
    tabSaver.Ask();
}

void MainWindow::RenameTab(int index) {
    if (!tabs.Has(index)) return;
    const TabInfo& tab = tabs.At(index);
    const FilePanel* panel = tab.panel.get();
    const std::wstring folder = tabs.FolderAt(index);
    const std::wstring folderName = tab.title;
    const bool named = !tab.marks.name.empty();
    modal.Begin();
    const std::optional<std::wstring> typed = AskTabName(hwnd, tab.marks.name, folderName);
    modal.End();
    // The box starts with the folder's name: taking it as it stands names nothing.
    if (!typed || (!named && *typed == folderName)) return;
    // While the dialog was up, tabs may have come, gone or changed places; a
    // tab not shown yet is known by its folder.
    index = panel ? tabs.IndexOfPanel(panel) : (tabs.FolderAt(index) == folder ? index : -1);
    if (!tabs.Has(index)) return;
    tabs.At(index).marks.name = CleanTabName(*typed);
    stripSync.Sync();
    Layout();
    tabSaver.Ask();
}

void MainWindow::SetTabColour(int index, int colour) {
    if (!tabs.Has(index) || colour < 0 || colour > kTabColourCount) return;
    tabs.At(index).marks.colour = colour;
    stripSync.Sync();
    tabSaver.Ask();
}

// By recent use the first press offers the tab used before this one and a
// backward one the tab used longest ago; the switch waits for Ctrl to be let go.
void MainWindow::CycleTabs(bool back) {
    if (!settings.Values().RecentTabOrder) {
        StepTab(back ? -1 : 1);
        return;
    }
    if (switcher.IsOpen()) {
        switcher.Step(back ? -1 : 1);
        return;
    }
    if (tabs.Count() < 2) return;
    std::vector<TabSwitcher::Entry> entries;
    const std::vector<int> order = tabs.RecentOrder();
    for (const int tab : order) {
        const TabInfo& info = tabs.At(tab);
        entries.push_back(
            TabSwitcher::Entry{info.marks.name.empty() ? info.title : info.marks.name, tab, tabs.FolderAt(tab)});
    }
    const int selected = back ? static_cast<int>(entries.size()) - 1 : 1;
    if (!switcher.Open(hwnd, std::move(entries), selected)) StepTab(back ? -1 : 1);
}
