#include <windows.h>
#include <shlobj.h>
#include <windowsx.h>

#include "panel/file_panel.h"
#include "panel/view_input_rules.h"
#include "ui/event_log.h"
#include "ui/shell_items.h"

// The menu for the view's items, from a right click or the menu key: the
// shell's commands for them with the program's own entries on top.

namespace {

// The shell's commands take the ids below the program's entries.
constexpr UINT kFirstShellCommand = 1;
constexpr UINT kLastShellCommand = 0x7FFF;
constexpr UINT kFirstEntryCommand = 0x8000;

const wchar_t* EntryText(ItemMenuEntry entry) {
    switch (entry) {
    case ItemMenuEntry::CopyToOtherPane: return L"复制到另一窗格\tF7";
    case ItemMenuEntry::MoveToOtherPane: return L"移动到另一窗格\tF8";
    case ItemMenuEntry::OpenInNewTab: return L"在新标签页打开";
    case ItemMenuEntry::OpenInOtherPane: return L"在另一窗格中打开此文件夹\tF9";
    }
    return L"";
}

// The language-independent name of a menu command, empty when it has none.
std::wstring MenuVerb(IContextMenu* menu, UINT offset) {
    wchar_t verb[64] = {};
    if (FAILED(menu->GetCommandString(offset, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb), ARRAYSIZE(verb)))) {
        return {};
    }
    verb[ARRAYSIZE(verb) - 1] = L'\0';
    return verb;
}

}  // namespace

bool FilePanel::ShowItemMenuAtPoint(POINT inView) {
    if (!browser || !viewWindow) return false;
    POINT screen = inView;
    ClientToScreen(viewWindow, &screen);
    // The view selects the item under a right click before it asks for a menu,
    // so the selection is what was clicked; the item under the click stands in
    // when the view cannot tell its selection.
    ComPtr<IShellItemArray> items = SelectedItems();
    if (!items) {
        const ComPtr<IShellItem> hit = ItemAtPoint(screen);
        if (!hit || ComFailed(SHCreateShellItemArrayFromShellItem(hit.get(), IID_PPV_ARGS(items.put())),
                              L"item menu: SHCreateShellItemArrayFromShellItem")) {
            return false;
        }
    }
    return ShowItemMenu(items.get(), screen);
}

bool FilePanel::OnViewContextMenu(LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool fromKeyboard = point.x == -1 && point.y == -1;
    if (!fromKeyboard) {
        if (menuShown) return true;
        ScreenToClient(viewWindow, &point);
        return ShowItemMenuAtPoint(point);
    }
    const ComPtr<IShellItemArray> items = SelectedItems();
    if (!items) return false;
    // Beside the one selected item, or the focused one of many.
    int index = -1;
    if (!SingleSelectedItem(&index)) index = FocusedItemIndex();
    RECT view{};
    GetWindowRect(viewWindow, &view);
    return ShowItemMenu(items.get(), KeyboardMenuPoint(ViewItemScreenRect(index), view));
}

bool FilePanel::ForwardMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (contextMenu3) return SUCCEEDED(contextMenu3->HandleMenuMsg2(message, wParam, lParam, &result));
    if (contextMenu2 && SUCCEEDED(contextMenu2->HandleMenuMsg(message, wParam, lParam))) {
        result = 0;
        return true;
    }
    return false;
}

bool FilePanel::ShowItemMenu(IShellItemArray* items, POINT screen) {
    DWORD count = 0;
    ComPtr<IShellItem> first;
    if (!viewWindow || FAILED(items->GetCount(&count)) || count == 0 || FAILED(items->GetItemAt(0, first.put()))) {
        return false;
    }
    const std::vector<ItemMenuEntry> entries =
        ItemMenuEntries(otherPaneOffered, count, count == 1 && IsFolderItem(first.get()));
    if (entries.empty()) return false;
    const ComPtr<IContextMenu> menu = ItemsContextMenu(first.get(), count);
    if (!menu) return false;

    const UINT chosen = TrackItemMenu(menu.get(), entries, screen);
    if (chosen >= kFirstEntryCommand && chosen - kFirstEntryCommand < entries.size()) {
        RunMenuEntry(entries[chosen - kFirstEntryCommand], first.get());
    } else if (chosen >= kFirstShellCommand && chosen <= kLastShellCommand) {
        InvokeShellCommand(menu.get(), chosen - kFirstShellCommand, first.get());
    }
    return true;
}

// One item's menu comes from the item itself. Many items are always the view's
// selection, whose menu the view gives; Wine's item arrays have none.
ComPtr<IContextMenu> FilePanel::ItemsContextMenu(IShellItem* first, DWORD count) const {
    ComPtr<IContextMenu> menu;
    if (count == 1) {
        if (ComFailed(first->BindToHandler(nullptr, BHID_SFUIObject, IID_PPV_ARGS(menu.put())),
                      L"item menu: IShellItem::BindToHandler")) {
            menu.reset();
        }
    } else if (auto view = CurrentView<IShellView>()) {
        if (ComFailed(view->GetItemObject(SVGIO_SELECTION, IID_PPV_ARGS(menu.put())),
                      L"item menu: IShellView::GetItemObject")) {
            menu.reset();
        }
    }
    return menu;
}

// The program's entries go on top, in order, then a separator and the shell's.
UINT FilePanel::TrackItemMenu(IContextMenu* menu, const std::vector<ItemMenuEntry>& entries, POINT screen) {
    UniqueMenu popup(CreatePopupMenu());
    if (!popup) return 0;
    menu->QueryContextMenu(popup.get(), 0, kFirstShellCommand, kLastShellCommand,
                           ItemMenuFlags(GetKeyState(VK_SHIFT) < 0));
    UINT position = 0;
    for (const ItemMenuEntry entry : entries) {
        InsertMenuW(popup.get(), position, MF_BYPOSITION | MF_STRING, kFirstEntryCommand + position, EntryText(entry));
        ++position;
    }
    InsertMenuW(popup.get(), position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);

    SetForegroundWindow(viewWindow);
    menuShown = true;
    // The shell's owner-drawn entries are drawn by the menu, through the view's subclass.
    menu->QueryInterface(IID_PPV_ARGS(contextMenu2.put()));
    menu->QueryInterface(IID_PPV_ARGS(contextMenu3.put()));
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                                           screen.y, viewWindow, nullptr));
    contextMenu2.reset();
    contextMenu3.reset();
    return chosen;
}

void FilePanel::RunMenuEntry(ItemMenuEntry entry, IShellItem* first) {
    const auto raise = [this](PaneCommand command) {
        // A copy: the owner may replace the callback while it runs.
        const auto paneCommand = onPaneCommand;
        if (paneCommand) paneCommand(this, command);
    };
    switch (entry) {
    case ItemMenuEntry::OpenInNewTab: {
        const std::wstring path = ParsingPath(first);
        if (!path.empty() && onOpenInTab) onOpenInTab(path);
        return;
    }
    case ItemMenuEntry::CopyToOtherPane: raise(PaneCommand::CopyToOther); return;
    case ItemMenuEntry::MoveToOtherPane: raise(PaneCommand::MoveToOther); return;
    case ItemMenuEntry::OpenInOtherPane: raise(PaneCommand::OpenInOther); return;
    }
}

void FilePanel::InvokeShellCommand(IContextMenu* menu, UINT offset, IShellItem* first) {
    // The menu offers Rename because the view renames in place; the menu
    // itself cannot start that without a view of its own. The view edits one
    // name at a time, the first item's of many.
    if (MenuVerb(menu, offset) == L"rename") {
        RenameInPlace(first);
        return;
    }
    CMINVOKECOMMANDINFOEX invoke{};
    invoke.cbSize = sizeof(invoke);
    invoke.fMask = CMIC_MASK_UNICODE | CMIC_MASK_ASYNCOK;
    invoke.hwnd = viewWindow;
    invoke.lpVerb = MAKEINTRESOURCEA(offset);
    invoke.lpVerbW = MAKEINTRESOURCEW(offset);
    invoke.nShow = SW_SHOWNORMAL;
    menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&invoke));
}

void FilePanel::RenameInPlace(IShellItem* item) {
    auto view = CurrentView<IShellView>();
    UniqueIdList full;
    if (!view || FAILED(SHGetIDListFromObject(item, full.put())) || !full) return;
    view->SelectItem(ILFindLastID(full.get()), SVSI_EDIT | SVSI_SELECT | SVSI_DESELECTOTHERS | SVSI_ENSUREVISIBLE |
                                                   SVSI_FOCUSED);
}
