#include <utility>

#include "mainwindow/main_window.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/split_layout.h"
#include "panel/pane_transfer.h"
#include "ui/palette.h"
#include "ui/shell_items.h"

namespace {

// What screen readers call the panes of a split tab, and whether their menus
// offer the pane beside them; a tab of one pane has no need of either.
void NamePanes(const TabInfo& tab) {
    const bool split = tab.split.split && tab.second;
    if (tab.panel) {
        SetWindowTextW(tab.panel->HostWindow(), split ? L"左窗格" : L"");
        tab.panel->OfferOtherPane(split);
    }
    if (tab.second) {
        SetWindowTextW(tab.second->HostWindow(), L"右窗格");
        tab.second->OfferOtherPane(true);
    }
}

// The folder a pane shows first: the current one of its list, else the tab's.
std::wstring FolderOfList(const TabHistory& history, const std::wstring& fallback) {
    if (history.Empty()) return fallback;
    return history.entries[static_cast<size_t>(history.current)];
}

}  // namespace

void MainWindow::ToggleSplit(int index) {
    if (!tabs.Has(index)) return;
    if (tabs.At(index).split.split) {
        UnsplitTab(index);
    } else {
        SplitTab(index);
    }
}

// The new pane opens on the tab's folder with its list, as a duplicated tab
// does, and takes the focus, as a view split in an editor does.
void MainWindow::SplitTab(int index) {
    TabInfo& tab = tabs.At(index);
    if (TabFolder(tab).empty()) return;
    // The tab shown moves its focus over once the pane is there, as a click would.
    const bool shown = index == tabs.Active();
    tab.split = TabSplit{true, kEvenDivider, !shown, TabHistoryOf(tab)};
    if (shown) {
        const FilePanel* first = tab.panel.get();
        if (!BuildSecondPane(index) || tabs.IndexOfPanel(first) != tabs.Active()) return;
        FocusPane(true);
    }
    tabSaver.Ask();
}

// The pane with the focus stays, whichever side it is on.
void MainWindow::UnsplitTab(int index) {
    TabInfo& tab = tabs.At(index);
    if (!tab.split.split) return;
    std::unique_ptr<FilePanel> closing;
    if (!tab.split.rightFocused) {
        closing = std::move(tab.second);
    } else if (tab.second) {
        closing = std::exchange(tab.panel, std::move(tab.second));
        SetWindowLongPtrW(tab.panel->HostWindow(), GWLP_ID, kPanelHostControlId);
        tab.requestedPath = TabFolder(tab);
    } else {
        // Not shown split yet: the right pane's list becomes the tab's.
        tab.requestedPath = FolderOfList(tab.split.right, tab.requestedPath);
        tab.history = std::move(tab.split.right);
    }
    tab.split = {};
    NamePanes(tab);
    if (closing) {
        restore.PanelGone(closing.get());
        driveWaits.PanelGone(closing.get());
    }
    if (index == tabs.Active()) {
        Layout();
        if (FilePanel* panel = tabs.ActivePanel()) panel->FocusFolderView();
        OnPaneFocusChanged();
    }
    stripSync.Sync();
    tabSaver.Ask();
    // Last, once the tab agrees with itself again: the control may send
    // messages while it is torn down.
    closing.reset();
}

bool MainWindow::BuildSecondPane(int index) {
    TabInfo& tab = tabs.At(index);
    if (!tab.split.split || tab.second || !tab.panel) return true;
    const FilePanel* first = tab.panel.get();
    std::unique_ptr<FilePanel> pane =
        MakePanel(kSecondPaneHostControlId, SplitPanelArea(ComputeLayout().panel, tab.split.divider, dpi).right);
    // A failure's message box let other messages change the tabs meanwhile.
    const int now = tabs.IndexOfPanel(first);
    if (now < 0) return false;
    TabInfo& shown = tabs.At(now);
    if (!pane) {
        shown.split = {};
        Layout();
        return false;
    }
    FilePanel* second = pane.get();
    const TabHistory carried = std::exchange(shown.split.right, {});
    shown.second = std::move(pane);
    NamePanes(shown);
    driveWaits.Open(second, FolderOfList(carried, TabFolder(shown)), carried);
    Layout();
    return true;
}

RECT MainWindow::FirstPaneBounds(const TabSplit& split) const {
    const RECT area = ComputeLayout().panel;
    return split.split ? SplitPanelArea(area, split.divider, dpi).left : area;
}

void MainWindow::ShowSecondPane() {
    const int index = tabs.Active();
    if (!tabs.Has(index) || !tabs.At(index).split.split || tabs.At(index).second) return;
    if (BuildSecondPane(index) && tabs.Active() == index && tabs.At(index).split.rightFocused) FocusPane(true);
}

FilePanel* MainWindow::OtherPanel() const {
    if (!tabs.Has(tabs.Active())) return nullptr;
    const TabInfo& tab = tabs.At(tabs.Active());
    if (!tab.split.split || !tab.second) return nullptr;
    return tab.split.rightFocused ? tab.panel.get() : tab.second.get();
}

void MainWindow::NoteInputIn(HWND target) {
    if (!target || !tabs.Has(tabs.Active())) return;
    const TabInfo& tab = tabs.At(tabs.Active());
    if (!tab.split.split || !tab.second || !tab.panel) return;
    const HWND right = tab.second->HostWindow();
    const HWND left = tab.panel->HostWindow();
    const bool inRight = target == right || IsChild(right, target);
    if (!inRight && target != left && !IsChild(left, target)) return;
    if (inRight == tab.split.rightFocused) return;
    tabs.At(tabs.Active()).split.rightFocused = inRight;
    OnPaneFocusChanged();
}

void MainWindow::FocusPane(bool right) {
    if (!tabs.Has(tabs.Active())) return;
    TabInfo& tab = tabs.At(tabs.Active());
    if (!tab.split.split || !tab.second) return;
    const bool changed = tab.split.rightFocused != right;
    tab.split.rightFocused = right;
    if (FilePanel* panel = tabs.ActivePanel()) panel->Activate(true);
    if (changed) OnPaneFocusChanged();
}

// The pane with the focus names the tab and drives the bars. A search belongs
// to the pane it was typed in.
void MainWindow::OnPaneFocusChanged() {
    search.EndSearch();
    const int index = tabs.Active();
    FilePanel* panel = tabs.ActivePanel();
    if (!panel) return;
    // A pane still opening its first folder names the tab when it arrives.
    if (const std::wstring path = panel->GetCurrentPath(); !path.empty()) {
        const std::wstring title = DisplayName(panel->GetCurrentItem().get());
        tabs.At(index).title = title.empty() ? path : title;
        stripSync.Retitle();
        stripSync.AwaitIcon(panel);
        UpdateCommandBar();
    }
    const SplitRects rects = SplitPanelArea(ComputeLayout().panel, tabs.At(index).split.divider, dpi);
    InvalidateRect(hwnd, &rects.leftMark, TRUE);
    InvalidateRect(hwnd, &rects.rightMark, TRUE);
    tabSaver.Ask();
}

void MainWindow::SetDivider(int position) {
    if (!tabs.Has(tabs.Active())) return;
    TabSplit& split = tabs.At(tabs.Active()).split;
    if (!split.split || split.divider == position) return;
    split.divider = position;
    Layout();
}

void MainWindow::StepDivider(int step) {
    if (!tabs.Has(tabs.Active()) || !tabs.At(tabs.Active()).split.split) return;
    SetDivider(SteppedDivider(tabs.At(tabs.Active()).split.divider, step));
    tabSaver.Ask();
}

void MainWindow::MarkFocusedPane(HDC dc) const {
    if (!OtherPanel()) return;
    const TabSplit& split = tabs.At(tabs.Active()).split;
    const SplitRects rects = SplitPanelArea(ComputeLayout().panel, split.divider, dpi);
    FillInk(dc, split.rightFocused ? rects.rightMark : rects.leftMark, ChromeInk::Accent);
}

void MainWindow::OnPaneCommand(FilePanel* panel, FilePanel::PaneCommand command) {
    int index = tabs.IndexOfPanel(panel);
    if (index < 0 || index != tabs.Active()) return;
    const std::wstring folder = panel->FolderForOtherPane();
    if (command == FilePanel::PaneCommand::OpenInOther) {
        if (folder.empty()) return;
        // Unsplit, the tab splits first; the focus stays where the command came from.
        if (!tabs.At(index).split.split) {
            SplitTab(index);
            // A failure's message box let other messages change the tabs meanwhile.
            index = tabs.IndexOfPanel(panel);
            if (index < 0 || index != tabs.Active()) return;
            FocusPane(tabs.At(index).second.get() == panel);
        }
    }
    const TabInfo& tab = tabs.At(index);
    FilePanel* other = tab.panel.get() == panel ? tab.second.get() : tab.panel.get();
    if (!other || other == panel) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    if (command == FilePanel::PaneCommand::OpenInOther) {
        if (!other->NavigateToPath(folder)) MessageBeep(MB_ICONWARNING);
        return;
    }
    // The shell's own operation: its progress, its questions about names taken,
    // its undo. Its progress runs a loop of its own, which a close waits for.
    const ComPtr<IShellItemArray> items = panel->SelectedItems();
    const ComPtr<IShellItem> target = other->GetCurrentItem();
    if (!items || !target) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    modal.Begin();
    const bool done = TransferItems(hwnd, items.get(), target.get(), command == FilePanel::PaneCommand::MoveToOther);
    modal.End();
    if (!done) MessageBeep(MB_ICONWARNING);
}
