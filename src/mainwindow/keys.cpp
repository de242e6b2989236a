#include <windows.h>

#include "app/application.h"
#include "commandbar/command_ids.h"
#include "mainwindow/main_window.h"
#include "ui/clipboard.h"

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
    FilePanel* panel = ActivePanel();
    return panel && panel->TranslateViewAccelerator(msg);
}

// May close this window (the last tab's close): nothing of it is touched after.
void MainWindow::RunShortcut(const Shortcut& shortcut) {
    FilePanel* panel = ActivePanel();
    switch (shortcut.action) {
    case ShortcutAction::NewTab: NewTab(); break;
    case ShortcutAction::CloseTab: CloseTab(activeTab); break;
    case ShortcutAction::NextTab: StepTab(1); break;
    case ShortcutAction::PreviousTab: StepTab(-1); break;
    case ShortcutAction::SelectTab:
        ActivateTab(shortcut.tab < 0 ? static_cast<int>(tabs.size()) - 1 : shortcut.tab);
        break;
    case ShortcutAction::ReopenClosedTab: ReopenClosedFolder(); break;
    case ShortcutAction::NewWindow: OpenInNewWindow(DefaultTabFolder()); break;
    case ShortcutAction::EditAddress: commandBar.EditAddress(); break;
    case ShortcutAction::Back: OnCommand(kCommandBack); break;
    case ShortcutAction::Forward: OnCommand(kCommandForward); break;
    case ShortcutAction::Up: OnCommand(kCommandUp); break;
    case ShortcutAction::CopyPaths: CopySelectedPaths(); break;
    case ShortcutAction::FocusSearchBox: commandBar.FocusSearchBox(); break;
    case ShortcutAction::Refresh:
        if (panel) panel->Refresh();
        break;
    case ShortcutAction::None: break;
    }
}

// As the shell's "copy as path" does: each path quoted, one to a line.
void MainWindow::CopySelectedPaths() {
    const FilePanel* panel = ActivePanel();
    if (!panel) return;
    std::vector<std::wstring> paths = panel->SelectedItemPaths();
    if (paths.empty()) {
        std::wstring folder = panel->GetCurrentPath();
        if (folder.empty()) return;
        paths.push_back(std::move(folder));
    }
    static_cast<void>(CopyTextToClipboard(hwnd, QuotedPathLines(paths)));
}

// Cascaded from this window, as the shell's windows open; from a maximised one,
// at the saved size where the system places it.
void MainWindow::OpenInNewWindow(const std::wstring& folder) const {
    Application& application = Application::Instance();
    RECT bounds{};
    if (IsZoomed(hwnd) || !GetWindowRect(hwnd, &bounds)) {
        static_cast<void>(application.OpenWindow(folder, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT));
        return;
    }
    const int offset = GetSystemMetrics(SM_CYCAPTION);
    static_cast<void>(application.OpenWindow(folder, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                             bounds.left + offset, bounds.top + offset));
}
