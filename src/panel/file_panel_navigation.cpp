#include "panel/file_panel.h"

#include <shlobj.h>

#include <utility>

#include "ui/dark_mode.h"
#include "ui/event_log.h"
#include "ui/palette.h"
#include "ui/shell_items.h"
#include "ui/shell_settings.h"

namespace {

// The shell's own choice of item check boxes, so our views follow Explorer's.
bool ShellChecksSelectedItems() { return ReadAdvancedValue(L"AutoCheckSelect", 0) == 1; }

ComPtr<IShellItem> ItemOf(PCIDLIST_ABSOLUTE list) {
    ComPtr<IShellItem> item;
    ItemFromIdList(list, item.put());
    return item;
}

ComPtr<IShellItem> Referenced(IShellItem* item) {
    ComPtr<IShellItem> held;
    if (item) {
        item->AddRef();
        held.attach(item);
    }
    return held;
}

}  // namespace

void FilePanel::BrowseTo(IShellItem* item) {
    if (browser && item) browser->BrowseToObject(item, SBSP_SAMEBROWSER);
}

void FilePanel::PushAndBrowse(ComPtr<IShellItem> item, bool byIdList, bool replacing) {
    if (!browser || !item) return;
    treeDiversion.OwnNavigationBegan();
    IShellItem* target = item.get();
    HistoryEntry entry{std::move(item), ParsingPath(target)};
    if (replacing) {
        history.ReplaceCurrent(std::move(entry));
    } else {
        history.Push(std::move(entry));
    }
    if (!byIdList) {
        BrowseTo(target);
        return;
    }
    UniqueIdList list;
    if (SUCCEEDED(SHGetIDListFromObject(target, list.put())) && list) {
        browser->BrowseToIDList(list.get(), SBSP_SAMEBROWSER);
    }
}

void FilePanel::NavigateTo(IShellItem* item) { PushAndBrowse(Referenced(item), false); }

bool FilePanel::NavigateToPath(const std::wstring& path) {
    if (!browser) return false;
    ComPtr<IShellItem> item;
    if (FAILED(ItemFromPath(path, item.put())) || !item) return false;
    PushAndBrowse(std::move(item), false);
    return true;
}

void FilePanel::NavigateToItemIDList(IShellItem* item, bool replacing) {
    PushAndBrowse(Referenced(item), true, replacing);
}

// Entries saved in an earlier run, or carried from another tab, are paths until
// they are visited; one whose folder has gone since is passed over. One on a
// share or a slow drive is looked up off the window's thread first, and the
// step is taken again once the drive has answered.
bool FilePanel::StepThroughHistory(bool forward) {
    if (!browser) return false;
    waitingStep = 0;
    const int start = history.Index();
    while (HistoryEntry* entry = forward ? history.Forward() : history.Back()) {
        if (!entry->item) {
            const FolderReach reach = historyReach.Reach(entry->path);
            if (reach == FolderReach::Asking) {
                history.MoveTo(start);
                waitingStep = forward ? 1 : -1;
                return true;
            }
            if (reach == FolderReach::Unreachable || FAILED(ItemFromPath(entry->path, entry->item.put())) ||
                !entry->item) {
                entry->item.reset();
                continue;
            }
        }
        historyReach.Forget();
        treeDiversion.OwnNavigationBegan();
        BrowseTo(entry->item.get());
        return true;
    }
    historyReach.Forget();
    history.MoveTo(start);
    return false;
}

void FilePanel::ResumeHistoryStep() {
    if (waitingStep != 0) static_cast<void>(StepThroughHistory(waitingStep > 0));
}

bool FilePanel::GoBack() { return StepThroughHistory(false); }

bool FilePanel::GoForward() { return StepThroughHistory(true); }

TabHistory FilePanel::SavedHistory() const {
    const std::vector<HistoryEntry>& entries = history.Entries();
    const KeptEntries kept = KeptEntriesAround(entries.size(), history.Index());
    TabHistory saved;
    for (size_t at = kept.first; at < kept.end; ++at) saved.entries.push_back(entries[at].path);
    saved.current = kept.current;
    return saved;
}

bool FilePanel::OpenHistory(const TabHistory& saved) {
    if (!browser || saved.current < 0 || saved.current >= static_cast<int>(saved.entries.size())) return false;
    const auto current = static_cast<size_t>(saved.current);
    ComPtr<IShellItem> item;
    if (FAILED(ItemFromPath(saved.entries[current], item.put())) || !item) return false;
    std::vector<HistoryEntry> entries;
    entries.reserve(saved.entries.size());
    for (const std::wstring& path : saved.entries) entries.push_back(HistoryEntry{ComPtr<IShellItem>(), path});
    IShellItem* target = item.get();
    entries[current].item = std::move(item);
    history.Assign(std::move(entries), saved.current);
    treeDiversion.OwnNavigationBegan();
    BrowseTo(target);
    return true;
}

bool FilePanel::GoUp() {
    if (!browser || !currentItem) return false;
    ComPtr<IShellItem> parent;
    if (FAILED(currentItem->GetParent(parent.put())) || !parent) return false;
    PushAndBrowse(std::move(parent), false);
    return true;
}

// Refreshing raises no navigation event, so it must not mark one as the panel's
// own: the mark would stay and swallow the diversion of the next tree click.
void FilePanel::Refresh() {
    if (auto view = CurrentView<IShellView>()) view->Refresh();
}

ComPtr<IShellItem> FilePanel::GetCurrentItem() const { return Referenced(currentItem.get()); }

std::wstring FilePanel::GetCurrentPath() const { return currentPath; }

HRESULT FilePanel::OnNavigationPending(PCIDLIST_ABSOLUTE folder) {
    // A step that waited for its drive gives way to whatever navigation came first.
    waitingStep = 0;
    // The panel's own navigations, a hand-off's and a tab's first among them, need no shell call here.
    const ULONGLONG now = GetTickCount64();
    const std::wstring path = treeDiversion.NeedsFolderPath(now) ? ParsingPath(ItemOf(folder).get()) : std::wstring();
    const TreeDiversion::Verdict verdict = treeDiversion.NavigationPending(path, now);
    if (verdict == TreeDiversion::Verdict::LetThrough) return S_OK;
    // The navigation pane asked for this folder: it goes to a tab, and should
    // the control arrive there anyway this panel returns to where it was.
    returnItem = Referenced(currentItem.get());
    // A copy: the owner may replace the callbacks while one runs.
    const auto open =
        verdict == TreeDiversion::Verdict::OpenInBackgroundTab ? onOpenInBackgroundTab : onOpenInTab;
    if (open) open(path);
    return S_FALSE;
}

HRESULT FilePanel::OnNavigationComplete(PCIDLIST_ABSOLUTE folder) {
    if (treeDiversion.NavigationComplete()) {
        if (returnItem && browser) {
            treeDiversion.BounceBackBegan();
            BrowseTo(returnItem.get());
        }
        returnItem.reset();
        return S_OK;
    }
    if (!folder) return S_OK;
    if (ComPtr<IShellItem> arrived = ItemOf(folder)) {
        currentItem = std::move(arrived);
        currentPath = ParsingPath(currentItem.get());
    }
    LogEvent(L"navigated to", currentPath);
    // Each folder brings a view of its own.
    if (DarkChrome()) ThemeShellView(hwnd, true);
    // Some builds of the control ask which panes to show as they navigate but
    // lay the tree out only at the next change of size: once the folder is
    // shown, a panel whose tree has not come is laid out again.
    if (!treeLookedFor && navPaneVisible) {
        treeLookedFor = true;
        PostMessageW(hwnd, kLookForTreeMessage, 0, 0);
    }
    if (onNavigated) onNavigated(this, currentPath);
    return S_OK;
}

HRESULT FilePanel::OnNavigationFailed() {
    treeDiversion.NavigationFailed();
    returnItem.reset();
    return S_OK;
}

HRESULT FilePanel::OnViewCreated(IShellView* view) {
    if (!view) return S_OK;
    lastClickTime = 0;
    lastClickPath.clear();
    HWND created = nullptr;
    if (FAILED(view->GetWindow(&created))) created = nullptr;
    AttachViewWindow(created);
    FindDuiView();
    CorrectNavLayout();
    FindViewWindows();
    ComPtr<IFolderView2> folderView;
    if (SUCCEEDED(view->QueryInterface(IID_PPV_ARGS(folderView.put())))) {
        folderView->SetCurrentFolderFlags(FWF_HIDEFILENAMES, showFileExt ? 0u : static_cast<DWORD>(FWF_HIDEFILENAMES));
        folderView->SetCurrentFolderFlags(FWF_CHECKSELECT, ShellChecksSelectedItems() ? static_cast<DWORD>(FWF_CHECKSELECT) : 0u);
    }
    return S_OK;
}
