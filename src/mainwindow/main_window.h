#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "commandbar/command_bar.h"
#include "favbar/fav_bar.h"
#include "input/focus_ring.h"
#include "input/kept_focus.h"
#include "input/shortcuts.h"
#include "input/wheel_notches.h"
#include "mainwindow/folder_search.h"
#include "mainwindow/frameless.h"
#include "mainwindow/layout.h"
#include "mainwindow/pane_divider.h"
#include "mainwindow/save_failure_notice.h"
#include "mainwindow/search_host.h"
#include "mainwindow/tab_strip_sync.h"
#include "mainwindow/tab_switcher.h"
#include "mainwindow/tabs/drive_waits.h"
#include "mainwindow/tabs/tab_restore.h"
#include "mainwindow/tabs/tab_saver.h"
#include "mainwindow/tabs/tab_set.h"
#include "mainwindow/window_host.h"
#include "settings/settings_store.h"
#include "tabstrip/tab_strip.h"
#include "ui/modal_loops.h"
#include "ui/palette.h"
#include "ui/window_class.h"

// One top-level window of the file manager: frameless, with the tab strip where
// a caption would be and the active tab's folder below.
class MainWindow final {
public:
    explicit MainWindow(WindowHost& host);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates and shows the window. A width or height of 0 or less leaves the size
    // to the saved or default one; x or y equal to CW_USEDEFAULT leave the position
    // to the system. A further window's one tab starts with state, the back and
    // forward list and the split of the tab it was torn from.
    [[nodiscard]] bool Create(const std::wstring& path, bool select, bool primary, int width, int height,
                              int x, int y, TabState state = {});

    [[nodiscard]] HWND Hwnd() const { return hwnd; }

    // Cuts the tie between the window and this object before the object goes away,
    // so that later messages to the window reach only the default procedure.
    void Detach();

    // Acts on a keyboard message that came to this window: the program's
    // shortcuts, then the folder view's own accelerators when the focus is not
    // in an edit box or the tree. True when the message was consumed.
    bool HandleKey(MSG& msg, KeyFocus focus);

    // A key or a press went to target: when that is in a pane of the shown
    // split tab, that pane now has the focus.
    void NoteInputIn(HWND target);

    // Adds the folders of this window's tabs, left to right, and their back and
    // forward lists, splits and marks, leaving out tabs that have no folder.
    void CollectSavedTabs(SavedTabs& saved) const;

    // Opens path in a new tab at index (appended when out of range); the new
    // tab's index, or -1 when no panel could be made. The tab starts with the
    // back and forward list and the split carried from another tab, if any.
    int InsertTab(int index, const std::wstring& path, const TabState& state = {});

    // Activates the tab showing path, or opens it in a new tab; the tab's index.
    int OpenPath(const std::wstring& path);

    // Closes the window without asking, for the program starts again at once.
    // Destroys this object.
    void CloseForRestart();

    // Takes a tab dragged here from another window, placed where it was dropped
    // (a point on the screen); its index, or -1 when its folder could not be shown.
    int AcceptTab(POINT screenPoint, const std::wstring& path, const TabState& state);

    // The favourites or the settings dialog's choices changed, here or in
    // another window.
    void OnSettingsChanged(SettingsChange what);

private:
    friend LRESULT CALLBACK RouteToObject<MainWindow>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The search's view of the window is a part of it.
    friend class MainWindowSearchHost;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OpenFirstTab();
    void OnClose();
    void OnSessionEnd(bool ending, LPARAM reasons);
    void OnCopyData(const COPYDATASTRUCT* data);
    void SaveBeforeGoing();
    void OnTimer(UINT_PTR id);

    // Tabs.
    void ActivateTab(int index);
    void CloseTab(int index);
    void MoveTab(int index, POINT dropPoint);
    void MoveTabToWindow(int index, POINT dropPoint, HWND otherStrip);
    void DetachTab(int index, POINT dropPoint);
    // Behind: in a tab behind the active one.
    void ReopenClosedFolder(bool behind = false);
    void DuplicateTab(int index);
    // Closes every tab outside keepFirst to keepLast; a closed active tab hands
    // over to focusTab.
    void CloseTabsOutside(int keepFirst, int keepLast, int focusTab);
    // The window's one tab starts with state, as a tab opened from another takes it along.
    void OpenInNewWindow(const std::wstring& folder, const TabState& state = {}) const;
    // Opens a folder in a tab behind the active one, placed after it and after
    // the tabs opened so before it.
    void OpenInBackgroundTab(const std::wstring& path, TabState state = {});
    void RestoreRemainingTabs();
    // A panel for a tab, made where it will stand, or null after telling the
    // user it could not be made.
    std::unique_ptr<FilePanel> MakePanel(int controlId, const RECT& bounds);
    void OpenReachedFolders();
    void NavigateToTypedFolder(FilePanel* panel, const std::wstring& folder);
    void OpenFromInstance(const std::wstring& path, bool select);
    void OnPanelNavigated(FilePanel* panel, const std::wstring& path);
    // Writes the tab list of every window: what tabSaver calls.
    void WriteTabList();
    void StepTab(int step);
    // Ends a removal of tabs, once the tab set agrees with itself again.
    void AfterRemoval(const TabSet::Removal& removal);
    void RemoveTab(int index);

    // Split view, in split_view.cpp.
    void ToggleSplit(int index);
    void SplitTab(int index);
    void UnsplitTab(int index);
    // Makes the right pane of the tab at index when it is split and has none
    // yet; false when it could not be made, the tab then being one pane again.
    bool BuildSecondPane(int index);
    // The active split tab's second pane, made if it has none yet, with the
    // focus if it had it.
    void ShowSecondPane();
    // Where a tab's first panel stands, beside the second when it is split.
    [[nodiscard]] RECT FirstPaneBounds(const TabSplit& split) const;
    // The active tab's pane without the focus, or null when it is not split.
    [[nodiscard]] FilePanel* OtherPanel() const;
    // Gives the keyboard focus to a pane of the active split tab.
    void FocusPane(bool right);
    void OnPaneFocusChanged();
    void SetDivider(int position);
    void StepDivider(int step);
    // A command between the panes from panel's menu or keys: a copy or move of
    // its selection into the other pane's folder, or a folder opened there.
    void OnPaneCommand(FilePanel* panel, FilePanel::PaneCommand command);
    // Draws the band over the pane with the focus, after the window's face.
    void MarkFocusedPane(HDC dc) const;

    // Pins, names, colours and recent use, in tab_marking.cpp.
    void TogglePin(int index);
    void RenameTab(int index);
    void SetTabColour(int index, int colour);
    // Ctrl+Tab, or with back Ctrl+Shift+Tab.
    void CycleTabs(bool back);

    // Keys, in keys.cpp.
    void RunShortcut(const Shortcut& shortcut);
    void OnColoursChanged(UINT message);
    void ShowPalette();
    void OnDpiChanged(int newDpi, const RECT* suggested);
    [[nodiscard]] bool OnAppMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Commands.
    void OnCommand(int id);
    void OnTabStripEvent(int event, int index);
    void OnFavBarEvent(int event, int index, const std::wstring& path);
    void NavigateFromAddressBar();
    void UpdateNavButtons();
    void UpdateCommandBar();
    void OnSettings();
    // The start's question about the takeover: Yes takes over, No keeps things
    // as they are and turns the switch off.
    void AskAboutTakeover(const std::wstring& question);

    // Behind: a folder opens in a tab behind the active one.
    void OpenFavorite(const std::wstring& path, bool behind = false);
    void OnStripFavouriteChosen(int favourite, FavouriteAction action);

    // Layout.
    [[nodiscard]] MainLayout ComputeLayout() const;
    void Layout();
    // Over bounds, or hidden for null.
    void ShowDivider(const RECT* bounds);

    HWND hwnd = nullptr;
    WindowHost& host;
    SettingsStore& settings;
    bool primary = true;
    bool closing = false;
    ModalLoops modal{hwnd};
    bool restarting = false;
    // An installer's Restart Manager closes the program: no question is asked.
    bool closingForInstaller = false;
    std::wstring initialPath;
    TabState initialState;
    bool initialSelect = false;
    bool openOnTopOfRestore = false;
    CommandBar commandBar;
    TabStrip tabStrip;
    // The wheel over the strip, for when the thread's wheel hook is missing.
    WheelNotches stripWheel;
    FavBar favBar;
    // After the bars: the panels go first, while what they may call is still there.
    TabSet tabs;
    DriveWaits driveWaits{tabs};
    TabRestore restore;
    TabSaver tabSaver;
    std::wstring pendingSelect;
    MainWindowSearchHost searchHost{*this};
    FolderSearch search{searchHost};
    TabStripSync stripSync{hwnd, tabStrip, tabs, restore, search, [this] { Layout(); }};
    // Made with the first split, as a window without one needs none.
    PaneDivider divider;
    KeptFocus keptFocus;
    MoveStripDrag moveDrag;
    int dpi = 96;
    Palette shownPalette = Palette::Light;
    SaveFailureNotice saveNotice;
    // The list Ctrl+Tab shows while Ctrl is held, when tabs go by recent use.
    TabSwitcher switcher;
};
