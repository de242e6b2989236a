#pragma once

#include <windows.h>
#include <servprov.h>
#include <shobjidl.h>

#include <functional>
#include <string>
#include <vector>

#include "panel/browse_history.h"
#include "panel/tree_diversion.h"
#include "panel/view_input_rules.h"
#include "settings/tab_histories.h"
#include "ui/folder_probe.h"
#include "ui/handles.h"
#include "ui/window_class.h"

// One place in a panel's back and forward list: its folder's path, which is
// what is saved and carried to other tabs, and the folder's item once the
// panel has been there in this run.
struct HistoryEntry {
    ComPtr<IShellItem> item;
    std::wstring path;
};

// The content of one tab: a host window with the shell's Explorer Browser in it.
// The panel keeps its own back/forward list (the control's travel log is off),
// answers the control's questions about which panes to show, and reports every
// completed navigation to its owner.
//
// The panel is a COM object only so that the control can reach it through its
// site; its lifetime belongs to the owner, and Release never deletes it.
class FilePanel final : public IServiceProvider, public IExplorerPaneVisibility {
public:
    enum Pane { kNavigationPane = 0, kDetailsPane = 1, kPreviewPane = 2 };
    // What the item menu asks the owner to do with the pane beside this one.
    enum class PaneCommand { CopyToOther, MoveToOther, OpenInOther };

    FilePanel() = default;
    ~FilePanel();
    FilePanel(const FilePanel&) = delete;
    FilePanel& operator=(const FilePanel&) = delete;

    // IUnknown, shared by both faces.
    IFACEMETHODIMP QueryInterface(REFIID riid, void** object) override;
    IFACEMETHODIMP_(ULONG) AddRef() override;
    IFACEMETHODIMP_(ULONG) Release() override;

    // IServiceProvider: the control looks for the pane answers here.
    IFACEMETHODIMP QueryService(REFGUID service, REFIID riid, void** object) override;

    // IExplorerPaneVisibility: the three panes we know are always forced.
    IFACEMETHODIMP GetPaneState(REFEXPLORERPANE pane, EXPLORERPANESTATE* state) override;

    // Builds the host window and the control; opens no folder.
    [[nodiscard]] bool Create(HWND parent, int controlId, const RECT& bounds);

    // Set by the creator once the panel is set up; until then nothing is diverted.
    void MarkReady() { treeDiversion.PanelReady(); }

    void NavigateTo(IShellItem* item);
    [[nodiscard]] bool NavigateToPath(const std::wstring& path);
    // replacing: in place of the current history entry rather than after it.
    void NavigateToItemIDList(IShellItem* item, bool replacing = false);
    bool GoBack();
    bool GoForward();
    bool GoUp();
    void Refresh();

    [[nodiscard]] ComPtr<IShellItem> GetCurrentItem() const;
    [[nodiscard]] std::wstring GetCurrentPath() const;
    [[nodiscard]] int HistoryIndex() const { return history.Index(); }
    [[nodiscard]] int HistorySize() const { return history.Size(); }
    // The back and forward list as paths, cut to what is saved of it.
    [[nodiscard]] TabHistory SavedHistory() const;
    // Takes over a saved or carried back and forward list and opens its current
    // folder; false, taking nothing, when that folder cannot be parsed.
    [[nodiscard]] bool OpenHistory(const TabHistory& saved);

    void SetPaneVisible(int pane, bool visible);
    [[nodiscard]] bool IsPaneVisible(int pane) const;
    void SetShowFileExt(bool show);
    bool SetFolderFlag(DWORD mask, bool on);
    bool GetViewMode(FOLDERVIEWMODE& mode, int& iconSize) const;
    void SetViewMode(FOLDERVIEWMODE mode, int iconSize);
    void SelectItemByPath(const std::wstring& path);
    // The paths of the items selected in the folder view, in view order.
    [[nodiscard]] std::vector<std::wstring> SelectedItemPaths() const;
    // The items selected in the folder view; null when none are.
    [[nodiscard]] ComPtr<IShellItemArray> SelectedItems() const;
    // What the pane beside this one opens: the selected folder when it is the
    // one selected item, else the folder shown here.
    [[nodiscard]] std::wstring FolderForOtherPane() const;
    // Set by the owner while a second pane shows beside this one: the item menu
    // then offers to copy, move or open there. Off at first.
    void OfferOtherPane(bool offered) { otherPaneOffered = offered; }

    void Activate(bool focus);
    void Deactivate();
    bool TranslateViewAccelerator(MSG& message);

    // Tears the control and the host down; harmless to call again.
    void Destroy();

    [[nodiscard]] HWND HostWindow() const { return hwnd; }
    [[nodiscard]] HWND ViewWindow() const { return viewWindow; }
    // The navigation tree while it is shown, or null.
    [[nodiscard]] HWND ShownTreeWindow() const;
    // Gives the folder view the keyboard focus, as a click in it does; false without a view.
    bool FocusFolderView() {
        if (!viewWindow) return false;
        FocusView(viewWindow);
        return true;
    }

    // A folder picked in the navigation pane: when the control then starts
    // navigating there, the folder goes to a tab and this panel stays put.
    void SetTreeTargetPath(std::wstring path) { treeDiversion.TargetPicked(std::move(path)); }

    // Raised after every completed navigation with the new folder's path.
    std::function<void(FilePanel* panel, const std::wstring& path)> onNavigated;
    // Raised when a folder is to open in a tab instead of in this panel.
    std::function<void(const std::wstring& path)> onOpenInTab;
    // Raised when a folder is to open in a tab behind the active one (a middle click).
    std::function<void(const std::wstring& path)> onOpenInBackgroundTab;
    // Raised when an entry of the item menu for the other pane is chosen; the
    // owner takes the items from SelectedItems or FolderForOtherPane.
    std::function<void(FilePanel* panel, PaneCommand command)> onPaneCommand;

    // The control's navigation events, delivered through the sink.
    HRESULT OnNavigationPending(PCIDLIST_ABSOLUTE folder);
    HRESULT OnViewCreated(IShellView* view);
    HRESULT OnNavigationComplete(PCIDLIST_ABSOLUTE folder);
    HRESULT OnNavigationFailed();

    // Upkeep of the shell view's windows, which the control rebuilds as it likes:
    // finds the ones that are new and gives them the panel's input handling.
    void CheckViewWindows();

private:
    class ExplorerEvents;

    friend LRESULT CALLBACK RouteToObject<FilePanel>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Opens the folder under a screen point in a tab behind the active one; false
    // when no folder is there.
    bool OpenFolderBehindAtPoint(POINT screen);

    // The folder view's item under a screen point, or null.
    [[nodiscard]] ComPtr<IShellItem> ItemAtPoint(POINT screen) const;
    // The one selected item's path, else the path of the item under the point.
    [[nodiscard]] std::wstring PathAtPoint(POINT screen) const;
    // True when the double click opened a folder; the shell handles the rest.
    bool HandleDoubleClick(POINT screen);
    // In this panel, or in a tab when the user's shell opens each folder in a window of its own.
    void OpenFolderItem(IShellItem* item);
    static bool IsFolderItem(IShellItem* item);
    // The shell's menu for the items with the program's entries on top; false,
    // showing nothing, when the program has none to add.
    bool ShowItemMenu(IShellItemArray* items, POINT screen);
    ComPtr<IContextMenu> ItemsContextMenu(IShellItem* first, DWORD count) const;
    UINT TrackItemMenu(IContextMenu* menu, const std::vector<ItemMenuEntry>& entries, POINT screen);
    void RunMenuEntry(ItemMenuEntry entry, IShellItem* first);
    void InvokeShellCommand(IContextMenu* menu, UINT offset, IShellItem* first);
    // Starts renaming an item of the shown folder where the view shows it.
    void RenameInPlace(IShellItem* item);
    bool ShowItemMenuAtPoint(POINT inView);

    void LayOutPanesAgain();
    void BrowseTo(IShellItem* item);
    void PushAndBrowse(ComPtr<IShellItem> item, bool byIdList, bool replacing = false);
    bool StepThroughHistory(bool forward);
    // A step back or forward that waits for the drive of the folder it leads to.
    void ResumeHistoryStep();
    template <typename View>
    ComPtr<View> CurrentView() const;
    HWND BrowserWindow() const;
    void ReleaseBrowser();

    static LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    static LRESULT CALLBACK DuiViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data);
    static LRESULT CALLBACK TreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    bool OpenTreeFolderBehind(HWND tree, POINT client);
    static LRESULT CALLBACK TreeHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    static LRESULT CALLBACK ItemAreaProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    void AttachViewWindow(HWND created);
    void FindViewWindows();
    void FindDuiView();
    void FindTree();
    void CorrectNavLayout();
    void RemoveViewSubclasses();
    void FocusView(HWND clicked);
    bool OnItemAreaButtonDown(HWND window, LPARAM lParam);
    bool OnViewContextMenu(LPARAM lParam);
    bool ForwardMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    ComPtr<IShellItem> ViewItem(int index) const;
    ComPtr<IShellItem> SingleSelectedItem(int* index = nullptr) const;
    int FocusedItemIndex() const;
    int ListItemAtPoint(POINT screen) const;
    RECT ViewItemScreenRect(int index) const;

    HWND hwnd = nullptr;  // the host of the control
    HWND viewWindow = nullptr;
    HWND duiViewWindow = nullptr;
    HWND treeWindow = nullptr;
    // The window the tree reports its selections to.
    HWND treeHostWindow = nullptr;
    HWND directUiWindow = nullptr;
    HWND listViewWindow = nullptr;
    DWORD lastClickTime = 0;
    POINT lastClickPoint{};
    std::wstring lastClickPath;
    bool menuShown = false;
    bool otherPaneOffered = false;
    ComPtr<IContextMenu2> contextMenu2;
    ComPtr<IContextMenu3> contextMenu3;
    int navInset = 0;
    UINT navInsetDpi = 0;
    int marginLeft = 1;
    int marginTop = 1;
    ComPtr<IExplorerBrowser> browser;
    DWORD adviseCookie = 0;
    ExplorerEvents* events = nullptr;
    LONG refCount = 1;
    BrowseHistory<HistoryEntry> history;
    ComPtr<IShellItem> currentItem;
    // Entries saved in an earlier run, on a share or a slow drive, are looked up
    // off the window's thread before a step back or forward takes them.
    FolderProbe historyReach;
    int waitingStep = 0;  // -1 back, 1 forward, 0 none
    // Posted to the host window when such a lookup has ended.
    static constexpr UINT kHistoryReachedMessage = WM_APP + 1;
    // Posted once the first folder is shown, to see that the tree came with it.
    static constexpr UINT kLookForTreeMessage = WM_APP + 2;
    bool treeLookedFor = false;
    // Its parsing name, asked of the shell once per arrival: every tab's folder
    // is compared whenever a folder is opened or the tabs are saved.
    std::wstring currentPath;
    TreeDiversion treeDiversion;
    // Where a diverted navigation that arrives anyway is sent back to.
    ComPtr<IShellItem> returnItem;
    bool navPaneVisible = true;
    bool detailsPaneVisible = false;
    bool previewPaneVisible = false;
    bool showFileExt = true;
    bool destroyed = false;
};

// The control's current view, asked afresh each time: the control replaces its
// view on every navigation.
template <typename View>
ComPtr<View> FilePanel::CurrentView() const {
    ComPtr<View> view;
    if (browser) browser->GetCurrentView(IID_PPV_ARGS(view.put()));
    return view;
}
