#include <windows.h>
#include <shellapi.h>

#include "commandbar/command_ids.h"
#include "dialogs/settings_dialog.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/tabs/tab_list.h"
#include "mainwindow/view_options.h"
#include "settings/settings_store.h"
#include "ui/paths.h"
#include "ui/text.h"

namespace {

void ShowFolderOptions() {
    ShellExecuteW(nullptr, L"open", SystemFolderFile(L"rundll32.exe").c_str(), L"shell32.dll,Options_RunDLL 0",
                  nullptr, SW_SHOWNORMAL);
}

}  // namespace

void MainWindow::OnCommand(int id) {
    FilePanel* panel = tabs.ActivePanel();
    switch (id) {
    case kCommandBack:
        if (panel && panel->GoBack()) UpdateNavButtons();
        break;
    case kCommandForward:
        if (panel && panel->GoForward()) UpdateNavButtons();
        break;
    case kCommandUp:
        if (panel) panel->GoUp();
        break;
    case kCommandRefresh:
        if (panel) panel->Refresh();
        break;
    case kCommandOpenTypedAddress:
    case kCommandOpenAddressSegment:
        NavigateFromAddressBar();
        break;
    case kCommandReopenClosedFolder:
        ReopenClosedFolder();
        break;
    case kCommandReopenClosedFolderBehind:
        ReopenClosedFolder(true);
        break;
    case kCommandViewMenu:
        ShowViewMenu(hwnd, panel, settings.Values(), modal);
        break;
    case kCommandSearchTextChanged:
        search.OnSearchTextChanged();
        break;
    case kCommandFolderOptions:
        ShowFolderOptions();
        break;
    default:
        // Closes every window, this one last: nothing of it may be touched afterwards.
        if (ApplyViewChoice(id, tabs, settings)) host.Restart(*this);
        break;
    }
}

void MainWindow::OnTabStripEvent(int event, int index) {
    switch (event) {
    case kTabEventActivate: ActivateTab(index); break;
    case kTabEventClose: CloseTab(index); break;
    case kTabEventNewTab: OpenPath(std::wstring()); break;
    case kTabEventSettings: OnSettings(); break;
    case kTabEventFolderOptions: ShowFolderOptions(); break;
    case kTabEventAddFavourite:
        if (tabs.Has(index)) settings.AddFavourite(tabs.FolderAt(index));
        break;
    case kTabEventDuplicate: DuplicateTab(index); break;
    case kTabEventCloseOthers: CloseTabsOutside(index, index, index); break;
    case kTabEventCloseToTheRight: CloseTabsOutside(0, index, index); break;
    case kTabEventReopenClosed: ReopenClosedFolder(); break;
    case kTabEventToggleSplit: ToggleSplit(index); break;
    case kTabEventOpenInNewWindow:
        if (tabs.Has(index)) OpenInNewWindow(tabs.FolderAt(index), TabStateOf(tabs.At(index)));
        break;
    case kTabEventTogglePin: TogglePin(index); break;
    case kTabEventRename: RenameTab(index); break;
    default: break;
    }
}

// A folder on a share or a drive that may be slow is looked up on a thread of
// its own first; the tab shows it is busy, and the window goes on answering.
void MainWindow::NavigateFromAddressBar() {
    const std::wstring text = TrimBlanks(commandBar.GetAddressText());
    FilePanel* panel = tabs.ActivePanel();
    if (text.empty()) return;
    if (panel) {
        switch (driveWaits.ReachTyped(panel, text)) {
        case FolderReach::Ready:
            NavigateToTypedFolder(panel, text);
            return;
        case FolderReach::Asking:
            tabStrip.SetLoading(tabs.Active(), true);
            return;
        case FolderReach::Unreachable:
            break;
        }
    }
    NavigateToTypedFolder(nullptr, text);
}

void MainWindow::NavigateToTypedFolder(FilePanel* panel, const std::wstring& folder) {
    if (panel && panel->NavigateToPath(folder)) return;
    modal.ShowMessage(L"无法打开该路径", MB_ICONWARNING);
    // While the warning was up, tabs may have come, gone or changed places.
    const FilePanel* shown = tabs.ActivePanel();
    commandBar.SetPath(shown ? shown->GetCurrentPath() : std::wstring());
}

void MainWindow::UpdateNavButtons() {
    const FilePanel* panel = tabs.ActivePanel();
    if (!panel) return;
    commandBar.SetNavEnabled(panel->HistoryIndex() > 0, panel->HistoryIndex() + 1 < panel->HistorySize());
}

void MainWindow::UpdateCommandBar() {
    const FilePanel* panel = tabs.ActivePanel();
    if (!panel) return;
    const std::wstring path = panel->GetCurrentPath();
    commandBar.SetPath(search.AddressFor(path));
    commandBar.SetSearchPlaceholder(search.Cue(path, tabs.At(tabs.Active()).title));
    UpdateNavButtons();
}

void MainWindow::OnSettings() {
    modal.Begin();
    ShowSettingsDialog(hwnd, settings);
    modal.End();
}
