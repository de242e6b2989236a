#include <windows.h>

#include "commandbar/command_ids.h"
#include "input/focus_ring.h"
#include "mainwindow/main_window.h"
#include "ui/clipboard.h"

namespace {

// As the shell's "copy as path" does: each path quoted, one to a line.
void CopySelectedPaths(const FilePanel& panel, HWND window, ModalLoops& modal) {
    std::vector<std::wstring> paths = panel.SelectedItemPaths();
    if (paths.empty()) paths.push_back(panel.GetCurrentPath());
    const std::wstring text = QuotedPathLines(paths);
    // Nothing chosen has a path to copy (This PC, the Recycle Bin, a phone).
    if (text.empty()) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    if (!CopyTextToClipboard(window, text)) {
        modal.ShowMessage(L"无法复制路径：剪贴板正被其他程序占用，请稍后再试。",
                          MB_ICONWARNING);
    }
}

bool HoldsFocus(HWND window, HWND focus) { return window && focus && (focus == window || IsChild(window, focus)); }

std::optional<FocusStop> CurrentFocusStop(const TabStrip& tabStrip, const CommandBar& commandBar,
                                         const FilePanel* panel) {
    const HWND focus = GetFocus();
    if (HoldsFocus(tabStrip.Hwnd(), focus)) return FocusStop::TabStrip;
    if (HoldsFocus(commandBar.AddressEditWindow(), focus)) return FocusStop::Address;
    if (HoldsFocus(commandBar.SearchBoxWindow(), focus)) return FocusStop::SearchBox;
    if (panel) {
        if (HoldsFocus(panel->ShownTreeWindow(), focus)) return FocusStop::Tree;
        if (HoldsFocus(panel->HostWindow(), focus)) return FocusStop::View;
    }
    return std::nullopt;
}

// F6 and Shift+F6: the tab strip, the address, the search box, the navigation
// tree and the folder view, round and round, skipping what is not shown.
void MoveFocusAround(int step, const TabStrip& tabStrip, CommandBar& commandBar, FilePanel* panel) {
    FocusStops available{};
    available[static_cast<size_t>(FocusStop::TabStrip)] = tabStrip.Hwnd() && IsWindowVisible(tabStrip.Hwnd());
    available[static_cast<size_t>(FocusStop::Address)] = commandBar.AddressEditWindow() != nullptr;
    available[static_cast<size_t>(FocusStop::SearchBox)] = commandBar.SearchBoxShown();
    available[static_cast<size_t>(FocusStop::Tree)] = panel && panel->ShownTreeWindow();
    available[static_cast<size_t>(FocusStop::View)] = panel && panel->ViewWindow();
    const std::optional<FocusStop> next = NextFocusStop(CurrentFocusStop(tabStrip, commandBar, panel), step, available);
    if (!next) return;
    switch (*next) {
    case FocusStop::TabStrip: SetFocus(tabStrip.Hwnd()); break;
    case FocusStop::Address: commandBar.EditAddress(); break;
    case FocusStop::SearchBox: commandBar.FocusSearchBox(); break;
    case FocusStop::Tree: SetFocus(panel->ShownTreeWindow()); break;
    case FocusStop::View: panel->FocusFolderView(); break;
    }
}

}  // namespace

bool MainWindow::HandleKey(MSG& msg, KeyFocus focus) {
    const Shortcut shortcut =
        ShortcutFor(KeyStroke{msg.message, msg.wParam, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                              GetKeyState(VK_MENU) < 0, focus});
    if (shortcut.action != ShortcutAction::None) {
        // The default handling learns that Alt went with a key, or its release
        // would take the window into its menu mode.
        if (msg.message == WM_SYSKEYDOWN) DefWindowProcW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        RunShortcut(shortcut);
        return true;
    }
    if (focus != KeyFocus::Elsewhere) return false;
    // The strip's own keys (arrows, Enter, Delete) are not the folder view's.
    if (tabStrip.Hwnd() && msg.hwnd == tabStrip.Hwnd()) return false;
    FilePanel* panel = tabs.ActivePanel();
    return panel && panel->TranslateViewAccelerator(msg);
}

// May close this window (the last tab's close): nothing of it is touched after.
void MainWindow::RunShortcut(const Shortcut& shortcut) {
    FilePanel* panel = tabs.ActivePanel();
    switch (shortcut.action) {
    case ShortcutAction::NewTab: OpenPath(std::wstring()); break;
    case ShortcutAction::CloseTab: CloseTab(tabs.Active()); break;
    case ShortcutAction::NextTab: StepTab(1); break;
    case ShortcutAction::PreviousTab: StepTab(-1); break;
    case ShortcutAction::SelectTab:
        ActivateTab(shortcut.tab < 0 ? tabs.Count() - 1 : shortcut.tab);
        break;
    case ShortcutAction::ReopenClosedTab: ReopenClosedFolder(); break;
    case ShortcutAction::NewWindow: OpenInNewWindow(DefaultTabFolder(settings.Values().NewTabPath)); break;
    case ShortcutAction::EditAddress: commandBar.EditAddress(); break;
    case ShortcutAction::Back: OnCommand(kCommandBack); break;
    case ShortcutAction::Forward: OnCommand(kCommandForward); break;
    case ShortcutAction::Up: OnCommand(kCommandUp); break;
    case ShortcutAction::CopyPaths:
        if (panel) CopySelectedPaths(*panel, hwnd, modal);
        break;
    case ShortcutAction::FocusSearchBox: commandBar.FocusSearchBox(); break;
    case ShortcutAction::Refresh:
        if (panel) panel->Refresh();
        break;
    case ShortcutAction::NextPane: MoveFocusAround(1, tabStrip, commandBar, panel); break;
    case ShortcutAction::PreviousPane: MoveFocusAround(-1, tabStrip, commandBar, panel); break;
    case ShortcutAction::None: break;
    }
}

// Cascaded from this window, as the shell's windows open; from a maximised one,
// at the saved size where the system places it.
void MainWindow::OpenInNewWindow(const std::wstring& folder) const {
    RECT bounds{};
    if (IsZoomed(hwnd) || !GetWindowRect(hwnd, &bounds)) {
        static_cast<void>(host.OpenWindow(folder, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, {}));
        return;
    }
    const int offset = GetSystemMetrics(SM_CYCAPTION);
    static_cast<void>(host.OpenWindow(folder, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                      bounds.left + offset, bounds.top + offset, {}));
}

