#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "panel/file_panel.h"
#include "panel/view_input_rules.h"
#include "ui/event_log.h"
#include "ui/shell_items.h"

// The folder view's items: which are selected, which is under the mouse, and
// double clicks on folders.

namespace {

using UniqueChildId = UniqueHandle<handle_traits::CoTaskMemory<PITEMID_CHILD>>;

bool NewWindowPerFolder() {
    CABINETSTATE state{};
    return ReadCabinetState(&state, sizeof(state)) && state.fNewWindowMode;
}

}  // namespace

bool FilePanel::IsFolderItem(IShellItem* item) {
    SFGAOF attributes = 0;
    return item && SUCCEEDED(item->GetAttributes(SFGAO_FOLDER | SFGAO_STREAM, &attributes)) &&
           IsBrowsableFolder(attributes);
}

// The item at an index of the view, made from its relative ID list and the
// folder shown: some views cannot hand out their items as shell items.
ComPtr<IShellItem> FilePanel::ViewItem(int index) const {
    ComPtr<IShellItem> item;
    auto view = CurrentView<IFolderView>();
    if (!view || !currentItem) return item;
    UniqueChildId child;
    if (ComFailed(view->Item(index, child.put()), L"view: IFolderView::Item") || !child) return item;
    UniqueIdList folder;
    if (ComFailed(SHGetIDListFromObject(currentItem.get(), folder.put()), L"view: SHGetIDListFromObject") ||
        !folder) {
        return item;
    }
    UniqueIdList full(ILCombine(folder.get(), child.get()));
    if (full) ItemFromIdList(full.get(), item.put());
    return item;
}

// Views that keep their items in a list view also keep their selection there.
ComPtr<IShellItem> FilePanel::SingleSelectedItem(int* index) const {
    if (index) *index = -1;
    ComPtr<IShellItem> item;
    if (auto view = CurrentView<IFolderView2>()) {
        ComPtr<IShellItemArray> selection;
        DWORD count = 0;
        if (SUCCEEDED(view->GetSelection(FALSE, selection.put())) && selection) {
            if (SUCCEEDED(selection->GetCount(&count)) && count == 1) selection->GetItemAt(0, item.put());
            if (item && index) view->GetSelectedItem(-1, index);
            return item;
        }
    }
    if (!listViewWindow || !IsWindow(listViewWindow) || ListView_GetSelectedCount(listViewWindow) != 1) return item;
    const int selected = ListView_GetNextItem(listViewWindow, -1, LVNI_SELECTED);
    if (selected < 0) return item;
    if (index) *index = selected;
    return ViewItem(selected);
}

// Wine's view tells its selection only as a data object.
ComPtr<IShellItemArray> FilePanel::SelectedItems() const {
    ComPtr<IShellItemArray> selection;
    auto folderView = CurrentView<IFolderView2>();
    if (!folderView || FAILED(folderView->GetSelection(FALSE, selection.put())) || !selection) {
        ComPtr<IDataObject> data;
        auto view = CurrentView<IShellView>();
        if (view && SUCCEEDED(view->GetItemObject(SVGIO_SELECTION, IID_PPV_ARGS(data.put()))) && data) {
            SHCreateShellItemArrayFromDataObject(data.get(), IID_PPV_ARGS(selection.put()));
        }
    }
    DWORD count = 0;
    if (selection && (FAILED(selection->GetCount(&count)) || count == 0)) selection.reset();
    return selection;
}

std::vector<std::wstring> FilePanel::SelectedItemPaths() const {
    std::vector<std::wstring> paths;
    const ComPtr<IShellItemArray> selection = SelectedItems();
    DWORD count = 0;
    if (!selection || FAILED(selection->GetCount(&count))) return paths;
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IShellItem> item;
        std::wstring path = SUCCEEDED(selection->GetItemAt(i, item.put())) ? ParsingPath(item.get()) : std::wstring();
        if (!path.empty()) paths.push_back(std::move(path));
    }
    return paths;
}

std::wstring FilePanel::FolderForOtherPane() const {
    const ComPtr<IShellItem> selected = SingleSelectedItem();
    std::wstring path = IsFolderItem(selected.get()) ? ParsingPath(selected.get()) : std::wstring();
    return path.empty() ? GetCurrentPath() : path;
}

// Where the keyboard is in the view, which of many selected items it is on.
int FilePanel::FocusedItemIndex() const {
    int index = -1;
    auto view = CurrentView<IFolderView>();
    if (view && SUCCEEDED(view->GetFocusedItem(&index))) return index;
    if (!listViewWindow || !IsWindow(listViewWindow)) return -1;
    return ListView_GetNextItem(listViewWindow, -1, LVNI_FOCUSED);
}

int FilePanel::ListItemAtPoint(POINT screen) const {
    if (!listViewWindow || !IsWindow(listViewWindow)) return -1;
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(listViewWindow, &hit.pt);
    const int index = ListView_HitTest(listViewWindow, &hit);
    return index >= 0 && (hit.flags & LVHT_ONITEM) ? index : -1;
}

ComPtr<IShellItem> FilePanel::ItemAtPoint(POINT screen) const {
    if (!browser || !viewWindow) return {};
    // A view that keeps its items in a list view can say itself what is where.
    if (listViewWindow && IsWindow(listViewWindow)) {
        const int index = ListItemAtPoint(screen);
        return index >= 0 ? ViewItem(index) : ComPtr<IShellItem>{};
    }
    auto view2 = CurrentView<IFolderView2>();
    auto view = CurrentView<IFolderView>();
    UINT mode = 0;
    if (!view2 || !view || ComFailed(view->GetCurrentViewMode(&mode), L"hit test: IFolderView::GetCurrentViewMode") ||
        !PositionsLocateItems(mode)) {
        return {};
    }
    POINT point = screen;
    ScreenToClient(viewWindow, &point);
    POINT spacing{};
    int count = 0;
    if (ComFailed(view2->GetSpacing(&spacing), L"hit test: IFolderView2::GetSpacing") || spacing.x < 1 ||
        spacing.y < 1 || ComFailed(view->ItemCount(SVGIO_BACKGROUND, &count), L"hit test: IFolderView::ItemCount") ||
        count < 1) {
        return {};
    }
    for (int i = 0; i < count; ++i) {
        UniqueChildId child;
        POINT position{};
        if (FAILED(view->Item(i, child.put())) || !child || FAILED(view->GetItemPosition(child.get(), &position))) {
            continue;
        }
        const RECT bounds{position.x, position.y, position.x + spacing.x, position.y + spacing.y};
        if (PtInRect(&bounds, point)) return ViewItem(i);
    }
    return {};
}

std::wstring FilePanel::PathAtPoint(POINT screen) const {
    std::wstring path = ParsingPath(SingleSelectedItem().get());
    if (!path.empty()) return path;
    return ParsingPath(ItemAtPoint(screen).get());
}

bool FilePanel::OpenFolderBehindAtPoint(POINT screen) {
    const ComPtr<IShellItem> item = ItemAtPoint(screen);
    if (!item || !IsFolderItem(item.get()) || !onOpenInBackgroundTab) return false;
    const std::wstring path = ParsingPath(item.get());
    if (path.empty()) return false;
    // A copy: the owner may replace the callback while it runs.
    const auto open = onOpenInBackgroundTab;
    open(path);
    return true;
}

bool FilePanel::HandleDoubleClick(POINT screen) {
    if (!browser || !viewWindow) return false;
    ComPtr<IShellItem> selected = SingleSelectedItem();
    if (IsFolderItem(selected.get())) {
        OpenFolderItem(selected.get());
        return true;
    }
    ComPtr<IShellItem> hit = ItemAtPoint(screen);
    const std::wstring path = ParsingPath(hit.get());
    if (path.empty() || path != lastClickPath || !IsFolderItem(hit.get())) return false;
    OpenFolderItem(hit.get());
    return true;
}

void FilePanel::OpenFolderItem(IShellItem* item) {
    const std::wstring path = ParsingPath(item);
    if (NewWindowPerFolder() && !path.empty() && onOpenInTab) {
        onOpenInTab(path);
        return;
    }
    NavigateTo(item);
}

// The item's rectangle as the view places it; empty when it cannot tell.
RECT FilePanel::ViewItemScreenRect(int index) const {
    RECT bounds{};
    if (index < 0) return bounds;
    if (listViewWindow && IsWindow(listViewWindow) && ListView_GetItemRect(listViewWindow, index, &bounds, LVIR_BOUNDS)) {
        MapWindowPoints(listViewWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&bounds), 2);
        return bounds;
    }
    auto view2 = CurrentView<IFolderView2>();
    auto view = CurrentView<IFolderView>();
    UniqueChildId child;
    POINT spacing{};
    POINT position{};
    if (!view2 || !view || FAILED(view2->GetSpacing(&spacing)) || FAILED(view->Item(index, child.put())) ||
        FAILED(view->GetItemPosition(child.get(), &position))) {
        return bounds;
    }
    bounds = RECT{position.x, position.y, position.x + spacing.x, position.y + spacing.y};
    MapWindowPoints(viewWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}
