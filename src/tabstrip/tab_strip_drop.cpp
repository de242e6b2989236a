#include "tabstrip/tab_strip_drop.h"

#include <shlobj.h>

#include <utility>

#include "ui/shell_items.h"

namespace {

// Long enough that a drag only passing over tabs on its way leaves them be.
constexpr UINT kHoverSwitchMs = 500;

// The drop target of a folder: the one the shell gives the folder as an item,
// else the one its view would have.
HRESULT FolderDropTarget(const std::wstring& folder, ComPtr<IDropTarget>& target) {
    ComPtr<IShellItem> item;
    HRESULT result = ItemFromPath(folder, item.put());
    if (FAILED(result)) return result;
    result = item->BindToHandler(nullptr, BHID_SFUIObject, IID_PPV_ARGS(target.put()));
    if (SUCCEEDED(result) && target) return S_OK;
    result = item->BindToHandler(nullptr, BHID_SFViewObject, IID_PPV_ARGS(target.put()));
    if (SUCCEEDED(result) && !target) return E_NOINTERFACE;
    return result;
}

// The dragged items that open as tabs, by their desktop-absolute parsing names.
std::vector<std::wstring> FoldersToOpen(IDataObject* data) {
    std::vector<std::wstring> folders;
    ComPtr<IShellItemArray> items;
    DWORD count = 0;
    if (FAILED(SHCreateShellItemArrayFromDataObject(data, IID_PPV_ARGS(items.put()))) || !items ||
        FAILED(items->GetCount(&count))) {
        return folders;
    }
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IShellItem> item;
        SFGAOF attributes = 0;
        if (FAILED(items->GetItemAt(i, item.put())) || !item ||
            FAILED(item->GetAttributes(SFGAO_FOLDER | SFGAO_STREAM, &attributes)) || !OpensAsTab(attributes)) {
            continue;
        }
        std::wstring path = ParsingPath(item.get());
        if (!path.empty()) folders.push_back(std::move(path));
    }
    return folders;
}

}  // namespace

// Without OLE the strip works as before; it only takes no drops.
void TabStrip::AcceptFileDrops() {
    fileDrop.attach(new FileDrop(this));
    if (SUCCEEDED(RegisterDragDrop(hwnd, fileDrop.get()))) return;
    fileDrop->Disconnect();
    fileDrop.reset();
}

void TabStrip::StopFileDrops() {
    if (!fileDrop) return;
    RevokeDragDrop(hwnd);
    fileDrop->Disconnect();
    fileDrop.reset();
}

void TabStrip::FileDrop::Disconnect() {
    EndDrag();
    strip_ = nullptr;
}

// The tab may have been closed, or chosen by other means, meanwhile.
void TabStrip::FileDrop::OnHoverTimer() {
    if (!strip_) return;
    KillTimer(strip_->hwnd, kDropHoverTimerId);
    if (strip_->ValidIndex(hoverTab_) && hoverTab_ != strip_->activeIndex) {
        strip_->RaiseEvent(kTabEventActivate, hoverTab_);
    }
}

IFACEMETHODIMP TabStrip::FileDrop::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

IFACEMETHODIMP_(ULONG) TabStrip::FileDrop::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refCount_)); }

IFACEMETHODIMP_(ULONG) TabStrip::FileDrop::Release() {
    const LONG count = InterlockedDecrement(&refCount_);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

IFACEMETHODIMP TabStrip::FileDrop::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    // A drag that left without saying so ends here.
    EndDrag();
    if (!strip_ || !data) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    data->AddRef();
    data_.attach(data);
    folders_ = FoldersToOpen(data);
    Follow(keys, point, effect);
    if (!imageHelper_) {
        CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(imageHelper_.put()));
    }
    if (imageHelper_) {
        POINT cursor{point.x, point.y};
        imageHelper_->DragEnter(strip_->hwnd, data, &cursor, *effect);
    }
    return S_OK;
}

IFACEMETHODIMP TabStrip::FileDrop::DragOver(DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    if (!strip_ || !data_) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    Follow(keys, point, effect);
    if (imageHelper_) {
        POINT cursor{point.x, point.y};
        imageHelper_->DragOver(&cursor, *effect);
    }
    return S_OK;
}

IFACEMETHODIMP TabStrip::FileDrop::DragLeave() {
    if (imageHelper_) imageHelper_->DragLeave();
    EndDrag();
    return S_OK;
}

IFACEMETHODIMP TabStrip::FileDrop::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    if (!strip_ || !data_ || !data) {
        *effect = DROPEFFECT_NONE;
        EndDrag();
        return S_OK;
    }
    const DWORD allowed = *effect;
    const DropPlace place = Follow(keys, point, effect);
    if (imageHelper_) {
        POINT cursor{point.x, point.y};
        imageHelper_->Drop(data, &cursor, *effect);
    }
    HRESULT result = S_OK;
    if (folderTarget_) {
        // Taken out first: a target the drop goes to is never told that the drag left.
        const ComPtr<IDropTarget> target = std::move(folderTarget_);
        folder_.clear();
        *effect = allowed;
        result = target->Drop(data, keys, point, effect);
        if (FAILED(result)) *effect = DROPEFFECT_NONE;
    } else if (place == DropPlace::NewTabs && *effect != DROPEFFECT_NONE) {
        OpenDroppedFolders();
        return S_OK;
    }
    EndDrag();
    return result;
}

DropPlace TabStrip::FileDrop::Follow(DWORD keys, POINTL point, DWORD* effect) {
    POINT client{point.x, point.y};
    ScreenToClient(strip_->hwnd, &client);
    const int hit = HitTestTabStrip(strip_->layout, client, strip_->dpi).code;
    const DropPlace place = DropPlaceForHit(hit);
    const int tab = place == DropPlace::Tab ? hit : -1;
    const std::wstring folder = tab >= 0 && strip_->tabFolder ? strip_->tabFolder(tab) : std::wstring();
    if (folder != folder_) {
        LeaveFolder();
        EnterFolder(folder, keys, point, effect);
    } else if (folderTarget_ && FAILED(folderTarget_->DragOver(keys, point, effect))) {
        *effect = DROPEFFECT_NONE;
    }
    if (!folderTarget_) {
        *effect = place == DropPlace::NewTabs ? OpenAsTabsEffect(!folders_.empty(), *effect) : DROPEFFECT_NONE;
    }
    TrackHover(tab, hit == kHitPlus && *effect != DROPEFFECT_NONE);
    return place;
}

// A folder whose target cannot be had or refuses the drag stays the one the drag
// is over, so that it is not asked again at every move. One on a drive that may
// be slow is bound only once it has answered on a thread of its own; until then
// the tab takes no drop, and the next move looks again.
void TabStrip::FileDrop::EnterFolder(const std::wstring& folder, DWORD keys, POINTL point, DWORD* effect) {
    if (!folder.empty() && probe_.Reach(folder) == FolderReach::Asking) return;
    folder_ = folder;
    if (folder.empty() || probe_.Reach(folder) == FolderReach::Unreachable) return;
    ComPtr<IDropTarget> target;
    if (FAILED(FolderDropTarget(folder, target)) || FAILED(target->DragEnter(data_.get(), keys, point, effect))) {
        return;
    }
    folderTarget_ = std::move(target);
}

void TabStrip::FileDrop::LeaveFolder() {
    if (folderTarget_) folderTarget_->DragLeave();
    folderTarget_.reset();
    folder_.clear();
}

void TabStrip::FileDrop::TrackHover(int tab, bool plusTakesDrop) {
    if (!strip_) {
        hoverTab_ = -1;
        return;
    }
    strip_->SetHot(tab, plusTakesDrop ? kHitPlus : kHitNothing);
    if (tab == hoverTab_) return;
    hoverTab_ = tab;
    if (tab >= 0 && tab != strip_->activeIndex) {
        SetTimer(strip_->hwnd, kDropHoverTimerId, kHoverSwitchMs, nullptr);
    } else {
        KillTimer(strip_->hwnd, kDropHoverTimerId);
    }
}

// The drag ends before the event: the owner may destroy the strip while it
// opens the folders.
void TabStrip::FileDrop::OpenDroppedFolders() {
    TabStrip* const strip = strip_;
    const std::vector<std::wstring> folders = std::move(folders_);
    EndDrag();
    strip->ownerCalls.Call(strip->onFoldersDropped, folders);
}

void TabStrip::FileDrop::EndDrag() {
    LeaveFolder();
    TrackHover(-1, false);
    data_.reset();
    folders_.clear();
    // A drive that answered during this drag may be gone by the next.
    probe_.Forget();
}
