#include <windows.h>

#include <tuple>

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

// What F6 goes round: the bars, and the panes of the shown tab (the right one
// only while it is split).
struct FocusParts {
    const TabStrip& tabStrip;
    CommandBar& commandBar;
    FilePanel* left;
    FilePanel* right;
};

std::optional<FocusStop> CurrentFocusStop(const FocusParts& parts) {
    const HWND focus = GetFocus();
    if (HoldsFocus(parts.tabStrip.Hwnd(), focus)) return FocusStop::TabStrip;
    if (HoldsFocus(parts.commandBar.AddressEditWindow(), focus)) return FocusStop::Address;
    if (HoldsFocus(parts.commandBar.SearchBoxWindow(), focus)) return FocusStop::SearchBox;
    for (const auto& [panel, tree, view] : {std::tuple{parts.left, FocusStop::Tree, FocusStop::View},
                                            std::tuple{parts.right, FocusStop::RightTree, FocusStop::RightView}}) {
        if (!panel) continue;
        if (HoldsFocus(panel->ShownTreeWindow(), focus)) return tree;
        if (HoldsFocus(panel->HostWindow(), focus)) return view;
    }
    return std::nullopt;
}

// F6 and Shift+F6: the tab strip, the address, the search box, the navigation
// tree and the folder view of each pane, round and round, skipping what is not
// shown.
void MoveFocusAround(int step, const FocusParts& parts) {
    FocusStops available{};
    const auto offer = [&](FocusStop stop, bool shown) { available[static_cast<size_t>(stop)] = shown; };
    offer(FocusStop::TabStrip, parts.tabStrip.Hwnd() && IsWindowVisible(parts.tabStrip.Hwnd()));
    offer(FocusStop::Address, parts.commandBar.AddressEditWindow() != nullptr);
    offer(FocusStop::SearchBox, parts.commandBar.SearchBoxShown());
    offer(FocusStop::Tree, parts.left && parts.left->ShownTreeWindow());
    offer(FocusStop::View, parts.left && parts.left->ViewWindow());
    offer(FocusStop::RightTree, parts.right && parts.right->ShownTreeWindow());
    offer(FocusStop::RightView, parts.right && parts.right->ViewWindow());
    const std::optional<FocusStop> next = NextFocusStop(CurrentFocusStop(parts), step, available);
    if (!next) return;
    switch (*next) {
    case FocusStop::TabStrip: SetFocus(parts.tabStrip.Hwnd()); break;
    case FocusStop::Address: parts.commandBar.EditAddress(); break;
    case FocusStop::SearchBox: parts.commandBar.FocusSearchBox(); break;
    case FocusStop::Tree: SetFocus(parts.left->ShownTreeWindow()); break;
    case FocusStop::View: parts.left->FocusFolderView(); break;
    case FocusStop::RightTree: SetFocus(parts.right->ShownTreeWindow()); break;
    case FocusStop::RightView: parts.right->FocusFolderView(); break;
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
    case ShortcutAction::CycleTabs: CycleTabs(false); break;
    case ShortcutAction::CycleTabsBack: CycleTabs(true); break;
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
    case ShortcutAction::NextPane:
    case ShortcutAction::PreviousPane: {
        const bool split = OtherPanel() != nullptr;
        const TabInfo* tab = tabs.Has(tabs.Active()) ? &tabs.At(tabs.Active()) : nullptr;
        MoveFocusAround(shortcut.action == ShortcutAction::NextPane ? 1 : -1,
                        FocusParts{tabStrip, commandBar, tab ? tab->panel.get() : nullptr,
                                   split ? tab->second.get() : nullptr});
        NoteInputIn(GetFocus());
        break;
    }
    case ShortcutAction::ToggleSplit: ToggleSplit(tabs.Active()); break;
    case ShortcutAction::DividerLeft: StepDivider(-1); break;
    case ShortcutAction::DividerRight: StepDivider(1); break;
    case ShortcutAction::CopyToOtherPane: OnPaneCommand(panel, FilePanel::PaneCommand::CopyToOther); break;
    case ShortcutAction::MoveToOtherPane: OnPaneCommand(panel, FilePanel::PaneCommand::MoveToOther); break;
    case ShortcutAction::OpenInOtherPane: OnPaneCommand(panel, FilePanel::PaneCommand::OpenInOther); break;
    case ShortcutAction::None: break;
    }
}

// Cascaded from this window, as the shell's windows open; from a maximised one,
// at the saved size where the system places it.
void MainWindow::OpenInNewWindow(const std::wstring& folder, const TabState& state) const {
    RECT bounds{};
    if (IsZoomed(hwnd) || !GetWindowRect(hwnd, &bounds)) {
        static_cast<void>(host.OpenWindow(folder, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, state));
        return;
    }
    const int offset = GetSystemMetrics(SM_CYCAPTION);
    static_cast<void>(host.OpenWindow(folder, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                      bounds.left + offset, bounds.top + offset, state));
}

