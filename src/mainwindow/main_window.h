#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "input/shortcuts.h"
#include "commandbar/command_bar.h"
#include "favbar/fav_bar.h"
#include "input/focus_ring.h"
#include "input/wheel_notches.h"
#include "mainwindow/folder_search.h"
#include "mainwindow/frame_geometry.h"
#include "mainwindow/layout.h"
#include "mainwindow/search_results.h"
#include "mainwindow/tab_info.h"
#include "settings/settings.h"
#include "tabstrip/tab_strip.h"
#include "ui/balloon_notice.h"
#include "ui/folder_probe.h"
#include "ui/window_class.h"

// One top-level window of the file manager: frameless, with the tab strip where
// a caption would be and the active tab's folder below.
class MainWindow final : private SearchHost {
public:
    MainWindow();
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates and shows the window. A width or height of 0 or less leaves the size
    // to the saved or default one; x or y equal to CW_USEDEFAULT leave the position
    // to the system. A further window's one tab starts with history, the back and
    // forward list of the tab it was torn from.
    [[nodiscard]] bool Create(const std::wstring& path, bool select, bool primary, int width, int height,
                              int x, int y, TabHistory history = {});

    [[nodiscard]] HWND Hwnd() const { return hwnd; }

    // Cuts the tie between the window and this object before the object goes away,
    // so that later messages to the window reach only the default procedure.
    void Detach();

    // Acts on a keyboard message that came to this window: the program's
    // shortcuts, then the folder view's own accelerators when the focus is not
    // in an edit box or the tree. True when the message was consumed.
    bool HandleKey(MSG& msg, KeyFocus focus);

    // Adds the folders of this window's tabs, left to right, and their back and
    // forward lists, leaving out tabs that have no folder.
    void CollectSavedTabs(std::vector<std::wstring>& paths, std::vector<TabHistory>& histories) const;

    // Opens path in a new tab at index (appended when out of range); the new
    // tab's index, or -1 when no panel could be made. The tab starts with the
    // back and forward list carried from another tab, if any.
    int InsertTab(int index, const std::wstring& path, const TabHistory& history = {});

    // Activates the tab showing path, or opens it in a new tab; the tab's index.
    int OpenPath(const std::wstring& path);

    // Closes the window without asking, for the program starts again at once.
    // Destroys this object.
    void CloseForRestart();

    // Takes a tab dragged here from another window, placed where it was dropped
    // (a point on the screen); its index, or -1 when its folder could not be shown.
    int AcceptTab(POINT screenPoint, const std::wstring& path, const TabHistory& history);

private:
    friend LRESULT CALLBACK RouteToObject<MainWindow>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OpenFirstTab();
    void OnClose();
    void OnSessionEnd(bool ending, LPARAM reasons);
    int ShowMessage(const wchar_t* text, UINT type);
    void EndModalLoop();
    // Whether a menu, of this window or any other, runs its loop on this thread.
    [[nodiscard]] static bool MenuLoopRuns();
    void OnCopyData(const COPYDATASTRUCT* data);
    void PassOnPendingOpens();
    void RememberFocus();
    void RestoreFocus();
    void SaveNormalRect() const;
    void OnTimer(UINT_PTR id);
    // Tells the user, once per run, that a config file could not be saved.
    void TellOfSaveFailure();
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(LPARAM lParam);
    bool OnMoveStripButtonDown(POINT clientPoint);
    void OnMoveStripMouseMove(POINT clientPoint);

    [[nodiscard]] WindowBounds ChooseWindowBounds(int width, int height, int x, int y) const;

    // Tabs.
    std::unique_ptr<FilePanel> CreatePanel(HWND parent, int controlId);
    void NewTab();
    void ActivateTab(int index);
    void CloseTab(int index);
    void RemoveTab(int index);
    void MoveTab(int index, POINT dropPoint);
    void MoveTabToWindow(int index, HWND dropTarget);
    void DetachTab(int index);
    // Behind: in a tab behind the active one.
    void ReopenClosedFolder(bool behind = false);
    void DuplicateTab(int index);
    // Closes every tab outside keepFirst to keepLast; a closed active tab hands
    // over to focusTab.
    void CloseTabsOutside(int keepFirst, int keepLast, int focusTab);
    void OpenInNewWindow(const std::wstring& folder) const;
    // Opens a folder in a tab behind the active one, placed after it and after
    // the tabs opened so before it.
    void OpenInBackgroundTab(const std::wstring& path, TabHistory history = {});
    // Keeps a closing tab's list for its folder to be opened with again.
    static void RememberClosedTab(const TabInfo& tab);
    void QueueRestoredTabs();
    void DescribeLater(const std::vector<std::wstring>& folders);
    void MarkSlowFolders();
    void RestoreRemainingTabs();
    void ApplyFolderDescriptions();
    [[nodiscard]] bool DescribeUnbuiltTabs();
    [[nodiscard]] bool StripUpdatesWait();
    [[nodiscard]] bool RestoreComplete() const;
    [[nodiscard]] int FirstRestoredTab() const;
    // A panel for a tab, or null after telling the user it could not be made.
    std::unique_ptr<FilePanel> MakePanel();
    int AddTab(int index, const std::wstring& folder, const TabHistory& history = {});
    void OpenPanelFolder(FilePanel* panel, const std::wstring& folder, const TabHistory& history);
    void OpenPanelFolderNow(FilePanel* panel, const std::wstring& folder, const TabHistory& history);
    void ForgetUnopenedFolder(FilePanel* panel);
    void OpenReachedFolders();
    void NavigateToTypedFolder(FilePanel* panel, const std::wstring& folder);
    // A tab behind the others, with no panel until it is first shown.
    void InsertUnbuiltTab(int index, const std::wstring& folder, TabHistory history = {});
    // The saved back and forward list of the saved tab at index; empty when none.
    [[nodiscard]] TabHistory SavedTabHistory(size_t index) const;
    void OpenFromInstance(const std::wstring& path, bool select);
    void OnPanelNavigated(FilePanel* panel, const std::wstring& path);
    void SyncTabStrip();
    void AwaitFolderIcon(const FilePanel* panel);
    void RecordAwaitedIcons();
    // Tab changes come in bursts (a new tab is added, navigated and activated);
    // SaveTabs asks for one save of the tab list once the burst is handled, and
    // SaveTabsNow writes it. A window about to go makes a save it asked for at
    // once, unless its last tab has just been closed: the saved list then keeps it.
    void SaveTabs();
    void SaveTabsNow();
    void SaveTabsIfAsked();
    void StepTab(int step);
    void TakeTabOut(int index);
    [[nodiscard]] FilePanel* ActivePanel() const;
    [[nodiscard]] int TabOfPanel(const FilePanel* panel) const;
    [[nodiscard]] int TabShowing(const std::wstring& path) const;
    [[nodiscard]] std::wstring DefaultTabFolder() const;
    [[nodiscard]] int SavedActiveTab() const;

    // Keys, in keys.cpp.
    void RunShortcut(const Shortcut& shortcut);
    void CopySelectedPaths();
    [[nodiscard]] std::optional<FocusStop> CurrentFocusStop() const;
    void MoveFocusAround(int step);
    // The theme, the system colours or a setting changed: the chrome is drawn again.
    void OnColoursChanged();

    // Commands.
    void OnCommand(int id);
    void OnTabStripEvent(int event, int index);
    void OnFavBarEvent(int event, int index, const std::wstring& path);
    void NavigateFromAddressBar();
    void UpdateNavButtons();
    void UpdateCommandBar();
    void ShowFolderOptions();
    void OnSettings();
    // The start's question about the takeover: Yes takes over, No keeps things
    // as they are and turns the switch off.
    void AskAboutTakeover(const std::wstring& question);
    void ApplySettings(const Settings& changed);
    void CollectAllWindowsTabs(std::vector<std::wstring>& paths, std::vector<TabHistory>& histories) const;

    // View options.
    void ShowViewMenu();
    void SetViewMode(int mode, int iconSize);
    void ToggleViewOption(int id);
    void ForEachPanel(const std::function<void(FilePanel&)>& action);
    void RestartSelf();

    // Favourites.
    void AddFavorite(const std::wstring& path);
    void RemoveFavorite(int index);
    // Behind: a folder opens in a tab behind the active one.
    void OpenFavorite(const std::wstring& path, bool behind = false);
    void MoveFavorite(int index, int slot);
    void ShareFavorites();
    void ShowFavorites();

    // Search of the active tab's folder, through the search box.
    [[nodiscard]] std::wstring SearchBoxText() const override;
    void EmptySearchBox() override;
    [[nodiscard]] bool HasActivePanel() const override;
    [[nodiscard]] std::wstring ActiveFolderPath() const override;
    [[nodiscard]] std::wstring ActiveFolderTitle() const override;
    [[nodiscard]] std::wstring ScopeName(const std::wstring& path) const override;
    void SetActiveTabTitle(const std::wstring& title) override;
    void ShowSearchSpinner(bool on) override;
    void StartSearchDelay() override;
    void StopSearchDelay() override;
    void BrowseActivePanelTo(const std::wstring& path) override;
    SearchOutcome PrepareResults(const std::wstring& scope, const std::wstring& query) override;
    void BrowseToPreparedResults(bool replacingResults) override;
    void Warn(const wchar_t* text) override;
    [[nodiscard]] std::wstring SearchCue(const std::wstring& path, const std::wstring& title) const;

    // Layout.
    [[nodiscard]] MainLayout ComputeLayout() const;
    void Layout();

    HWND hwnd = nullptr;
    Settings settings;
    bool primary = true;
    bool restoring = false;
    // Saved tabs still to come once the first one is on screen, in saved order;
    // those saved before it go in front of it.
    struct PendingTab {
        std::wstring path;
        bool beforeFirst = false;
        TabHistory history;
    };
    std::deque<PendingTab> pendingRestore;
    // Their folders' names and icons, asked of the shell while the first tab opens.
    FolderDescriber describer;
    // Tabs whose folders wait for their drive to answer.
    struct AwaitedFolder {
        FilePanel* panel;
        std::wstring folder;
        TabHistory history;
        // Typed into the address bar: the tab keeps its folder if this one fails.
        bool typed = false;
    };
    FolderProbe reachability;
    std::vector<AwaitedFolder> awaitingDrives;
    // Panels whose folder's icon the strip still waits for.
    std::vector<const FilePanel*> iconsAwaited;
    const FilePanel* firstRestored = nullptr;
    bool closing = false;
    // A close asked for while a message box, a menu or a dialog of this window
    // is up waits until it is answered: closing frees this object under the code
    // that runs the modal loop.
    int openModalLoops = 0;
    bool closeDeferred = false;
    bool restarting = false;
    // An installer's Restart Manager closes the program: no question is asked.
    bool closingForInstaller = false;
    std::wstring initialPath;
    TabHistory initialHistory;
    bool initialSelect = false;
    bool openOnTopOfRestore = false;
    CommandBar commandBar;
    TabStrip tabStrip;
    // The wheel over the strip, for when the thread's wheel hook is missing.
    WheelNotches stripWheel;
    FavBar favBar;
    std::vector<TabInfo> tabs;
    int activeTab = -1;
    // Tabs opened behind the active one since it became active.
    int backgroundTabsOpened = 0;
    std::wstring pendingSelect;
    FolderSearch search{*this};
    ComPtr<IShellItem> searchResults;
    SearchQueryParser searchParser;
    HWND focusBeforeDeactivation = nullptr;
    bool dragging = false;
    bool dragMoved = false;
    POINT dragStart{0, 0};
    int dpi = 96;
    bool tabsSavePosted = false;
    BalloonNotice saveNotice;
};
