#include <shlobj.h>

#include "mainwindow/main_window.h"
#include "mainwindow/view_menu.h"
#include "settings/save_queue.h"
#include "settings/settings_file.h"
#include "ui/handles.h"
#include "ui/nav_pane_sizer.h"
#include "ui/shell_settings.h"

namespace {

constexpr DWORD kCheckSelectFlag = 0x40000;  // FWF_CHECKSELECT

UINT Checked(bool on) { return on ? MF_CHECKED : MF_UNCHECKED; }

}  // namespace

void MainWindow::ShowViewMenu() {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    for (const ViewMenuItem& item : kViewMenuItems) {
        if (item.id == 0) {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(item.id), item.text);
        }
    }
    bool navigationPane = settings.NavVisible;
    bool previewPane = settings.PreviewVisible;
    if (const FilePanel* panel = tabs.ActivePanel()) {
        FOLDERVIEWMODE mode = FVM_AUTO;
        int iconSize = 0;
        if (panel->GetViewMode(mode, iconSize)) {
            if (const int marked = MarkedViewModeItem(mode, iconSize)) {
                CheckMenuRadioItem(menu.get(), kFirstViewModeItem, kLastViewModeItem, static_cast<UINT>(marked),
                                   MF_BYCOMMAND);
            }
        }
        navigationPane = panel->IsPaneVisible(FilePanel::kNavigationPane);
        previewPane = panel->IsPaneVisible(FilePanel::kPreviewPane);
    }
    CheckMenuItem(menu.get(), kViewNavigationPane, MF_BYCOMMAND | Checked(navigationPane));
    CheckMenuItem(menu.get(), kViewPreviewPane, MF_BYCOMMAND | Checked(previewPane));
    CheckMenuItem(menu.get(), kViewItemCheckBoxes,
                  MF_BYCOMMAND | Checked(ReadAdvancedValue(L"AutoCheckSelect", 0) == 1));
    CheckMenuItem(menu.get(), kViewFileExtensions, MF_BYCOMMAND | Checked(settings.ShowFileExt));
    CheckMenuItem(menu.get(), kViewHiddenItems, MF_BYCOMMAND | Checked(settings.ShowHiddenFiles));

    POINT cursor{};
    GetCursorPos(&cursor);
    SetForegroundWindow(hwnd);
    // The choice arrives as a command of this window.
    modal.Begin();
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd, nullptr);
    modal.End();
}

void MainWindow::SetViewMode(int mode, int iconSize) {
    FilePanel* panel = tabs.ActivePanel();
    if (!panel) return;
    panel->SetViewMode(static_cast<FOLDERVIEWMODE>(mode), iconSize);
    settings.ViewMode = mode;
    settings.ViewIconSize = iconSize;
    SaveSettingValues({{L"ViewMode", mode}, {L"ViewIconSize", iconSize}});
}

void MainWindow::ToggleViewOption(int id) {
    switch (id) {
    case kViewNavigationPane:
        settings.NavVisible = !settings.NavVisible;
        SaveSettingValues({{L"NavVisible", settings.NavVisible}});
        WriteNavPaneSizer(settings.NavVisible);
        tabs.ForEachPanel([&](FilePanel& panel) { panel.SetPaneVisible(FilePanel::kNavigationPane, settings.NavVisible); });
        break;
    case kViewPreviewPane:
        settings.PreviewVisible = !settings.PreviewVisible;
        SaveSettingValues({{L"PreviewVisible", settings.PreviewVisible}});
        tabs.ForEachPanel([&](FilePanel& panel) { panel.SetPaneVisible(FilePanel::kPreviewPane, settings.PreviewVisible); });
        break;
    case kViewItemCheckBoxes: {
        const bool checkBoxes = ReadAdvancedValue(L"AutoCheckSelect", 0) != 1;
        WriteAdvancedValue(L"AutoCheckSelect", checkBoxes ? 1 : 0);
        tabs.ForEachPanel([&](FilePanel& panel) { panel.SetFolderFlag(kCheckSelectFlag, checkBoxes); });
        break;
    }
    case kViewFileExtensions:
        settings.ShowFileExt = !settings.ShowFileExt;
        SaveSettingValues({{L"ShowFileExt", settings.ShowFileExt}});
        WriteAdvancedValue(L"HideFileExt", settings.ShowFileExt ? 0 : 1);
        tabs.ForEachPanel([&](FilePanel& panel) { panel.SetShowFileExt(settings.ShowFileExt); });
        break;
    case kViewHiddenItems:
        settings.ShowHiddenFiles = !settings.ShowHiddenFiles;
        SaveSettingValues({{L"ShowHiddenFiles", settings.ShowHiddenFiles}});
        WriteAdvancedValue(L"Hidden", HiddenItemsValue(settings.ShowHiddenFiles));
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
        tabs.ForEachPanel([](FilePanel& panel) { panel.Refresh(); });
        break;
    default:
        return;
    }
    // Every panel is made anew with the changed state.
    host.Restart(*this);
}

void MainWindow::CloseForRestart() {
    restarting = true;
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
}
