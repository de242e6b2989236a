#include <shlobj.h>

#include "mainwindow/view_options.h"

#include "mainwindow/view_menu.h"
#include "ui/dark_menu.h"
#include "ui/handles.h"
#include "ui/nav_pane_sizer.h"
#include "ui/shell_settings.h"

namespace {

constexpr DWORD kCheckSelectFlag = 0x40000;  // FWF_CHECKSELECT

UINT Checked(bool on) { return on ? MF_CHECKED : MF_UNCHECKED; }

}  // namespace

void ShowViewMenu(HWND window, const FilePanel* activePanel, const Settings& settings, ModalLoops& modal) {
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
    if (const FilePanel* panel = activePanel) {
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
    SetForegroundWindow(window);
    DrawMenuInPalette(menu.get());
    modal.Begin();
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
    modal.End();
}

bool ApplyViewChoice(int id, TabSet& tabs, SettingsStore& settings) {
    if (const std::optional<ViewModeChoice> choice = ViewModeOfItem(id)) {
        FilePanel* panel = tabs.ActivePanel();
        if (!panel) return false;
        panel->SetViewMode(static_cast<FOLDERVIEWMODE>(choice->mode), choice->iconSize);
        settings.SetViewMode(choice->mode, choice->iconSize);
        return false;
    }
    switch (id) {
    case kViewNavigationPane:
        settings.SetNavigationPaneVisible(!settings.Values().NavVisible);
        WriteNavPaneSizer(settings.Values().NavVisible);
        tabs.ForEachPanel([&](FilePanel& panel) {
            panel.SetPaneVisible(FilePanel::kNavigationPane, settings.Values().NavVisible);
        });
        break;
    case kViewPreviewPane:
        settings.SetPreviewPaneVisible(!settings.Values().PreviewVisible);
        tabs.ForEachPanel([&](FilePanel& panel) {
            panel.SetPaneVisible(FilePanel::kPreviewPane, settings.Values().PreviewVisible);
        });
        break;
    case kViewItemCheckBoxes: {
        const bool checkBoxes = ReadAdvancedValue(L"AutoCheckSelect", 0) != 1;
        WriteAdvancedValue(L"AutoCheckSelect", checkBoxes ? 1 : 0);
        tabs.ForEachPanel([&](FilePanel& panel) { panel.SetFolderFlag(kCheckSelectFlag, checkBoxes); });
        break;
    }
    case kViewFileExtensions:
        settings.SetShowFileExtensions(!settings.Values().ShowFileExt);
        WriteAdvancedValue(L"HideFileExt", settings.Values().ShowFileExt ? 0 : 1);
        tabs.ForEachPanel([&](FilePanel& panel) { panel.SetShowFileExt(settings.Values().ShowFileExt); });
        break;
    case kViewHiddenItems:
        settings.SetShowHiddenItems(!settings.Values().ShowHiddenFiles);
        WriteAdvancedValue(L"Hidden", HiddenItemsValue(settings.Values().ShowHiddenFiles));
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
        tabs.ForEachPanel([](FilePanel& panel) { panel.Refresh(); });
        break;
    default:
        return false;
    }
    return true;
}
