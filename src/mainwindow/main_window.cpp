#include "mainwindow/main_window.h"

#include <dwmapi.h>

#include "mainwindow/frameless.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/tabs/tab_list.h"
#include "ui/dark_mode.h"
#include "ui/nav_pane_sizer.h"

namespace {

constexpr DWORD kMainWindowStyle = WS_POPUP | WS_CLIPCHILDREN | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

constexpr UINT kEndRestoreDelayMs = 5000;
constexpr UINT kViewWindowCheckMs = 400;
constexpr UINT kConfigBackupMs = 4 * 60 * 60 * 1000;

HICON LoadAppIcon(HINSTANCE instance, int sizeMetricX, int sizeMetricY) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON,
                                         GetSystemMetrics(sizeMetricX), GetSystemMetrics(sizeMetricY),
                                         LR_SHARED));
}

}  // namespace

MainWindow::MainWindow(WindowHost& host)
    : host(host),
      settings(SettingsStore::Instance()),
      tabSaver([this] { WriteTabList(); }, WM_APP_SAVE_TABS),
      dpi(static_cast<int>(GetDpiForSystem())) {}

MainWindow::~MainWindow() = default;

bool MainWindow::Create(const std::wstring& path, bool select, bool primaryWindow, int width, int height, int x,
                        int y, TabState state) {
    initialPath = path;
    initialState = std::move(state);
    initialSelect = select;
    primary = primaryWindow;

    HINSTANCE instance = GetModuleHandleW(nullptr);
    HICON bigIcon = LoadAppIcon(instance, SM_CXICON, SM_CYICON);
    HICON smallIcon = LoadAppIcon(instance, SM_CXSMICON, SM_CYSMICON);

    // Registering again for a further window fails harmlessly.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = RouteToObject<MainWindow>;
    windowClass.hInstance = instance;
    windowClass.hIcon = bigIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kMainWindowClass;
    windowClass.hIconSm = smallIcon;
    RegisterClassExW(&windowClass);

    const Settings& values = settings.Values();
    const SavedWindowRect saved{values.HasWindowRect, values.WindowX, values.WindowY, values.WindowWidth,
                                values.WindowHeight};
    const WindowBounds bounds = ChooseWindowBounds(saved, width, height, x, y);
    // The window binds itself to this object while it is being created. On failure
    // the object may already be gone, so nothing of it is touched.
    if (!CreateWindowExW(0, kMainWindowClass, kAppTitle, kMainWindowStyle, bounds.x, bounds.y, bounds.width,
                         bounds.height, nullptr, nullptr, instance, this)) {
        return false;
    }

    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    const MARGINS noMargins{};
    DwmExtendFrameIntoClientArea(hwnd, &noMargins);
    // Recomputes the (empty) non-client area by our own rules.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ShowWindow(hwnd, SW_SHOW);
    if (restore.HasQueued()) PostMessageW(hwnd, WM_APP_RESTORE_NEXT, 0, 0);
    // A folder given to a start with saved tabs opens on top of them.
    if (openOnTopOfRestore && !path.empty()) OpenFromInstance(path, select);
    return true;
}

void MainWindow::OnCreate() {
    driveWaits.TellWhenAnswered(hwnd, WM_APP_FOLDERS_REACHED);
    tabSaver.PostTo(hwnd);
    // A window opened on a monitor of another scale is told nothing of it: the
    // DPI-change message comes only when the window moves to another scale.
    dpi = static_cast<int>(GetDpiForWindow(hwnd));
    // Before the first frame: a dark window never shows a light one. Menus
    // are the process's, and are asked for here rather than before the first
    // window: under Wine asking before any window costs the start its time.
    shownPalette = CurrentPalette();
    if (shownPalette == Palette::Dark) {
        ThemeFrame(hwnd, true);
        ThemeMenus(true);
    }
    WriteNavPaneSizer(settings.Values().NavVisible);
    if (commandBar.Create(hwnd, kCommandBarControlId)) {
        commandBar.onCommand = [this](int id) { OnCommand(id); };
        commandBar.onOpenInBackgroundTab = [this](const std::wstring& folder) { OpenInBackgroundTab(folder); };
    }
    commandBar.SetSearchBoxVisible(settings.Values().SearchBoxVisible);
    if (tabStrip.Create(hwnd, kTabStripControlId)) {
        tabStrip.onEvent = [this](int event, int index) { OnTabStripEvent(event, index); };
        tabStrip.onTabDropped = [this](int index, POINT dropPoint) { MoveTab(index, dropPoint); };
        tabStrip.onTabDroppedOnOtherStrip = [this](int index, POINT dropPoint, HWND otherStrip) {
            MoveTabToWindow(index, dropPoint, otherStrip);
        };
        tabStrip.onTabTornOff = [this](int index, POINT dropPoint) { DetachTab(index, dropPoint); };
        tabStrip.onFoldersDropped = [this](const std::vector<std::wstring>& folders) {
            // The strip holds the list until this returns, however many tabs fail
            // with a message and whatever else is dropped meanwhile.
            for (const std::wstring& path : folders) OpenPath(path);
        };
        tabStrip.onFavouriteChosen = [this](int favourite, FavouriteAction action) {
            OnStripFavouriteChosen(favourite, action);
        };
        tabStrip.tabFolder = [this](int index) {
            return tabs.FolderAt(index);
        };
        tabStrip.tabIsSplit = [this](int index) { return tabs.Has(index) && tabs.At(index).split.split; };
        tabStrip.onTabColour = [this](int index, int colour) { SetTabColour(index, colour); };
    }
    switcher.onChosen = [this](int index, const std::wstring& folder) {
        // Tabs restored or closed while the list was up have moved the others.
        ActivateTab(tabs.FolderAt(index) == folder ? index : tabs.IndexShowing(folder));
    };
    if (favBar.Create(hwnd, kFavBarControlId)) {
        favBar.onEvent = [this](int event, int index, const std::wstring& path) { OnFavBarEvent(event, index, path); };
        favBar.onFavouriteMoved = [this](int index, int slot) {
            settings.MoveFavourite(index, MoveTarget(index, slot));
        };
    }
    tabStrip.SetFavourites(settings.Values().Favorites);
    favBar.SetFavourites(settings.Values().Favorites);
    Layout();
    OpenFirstTab();
    SetTimer(hwnd, kTimerEndRestore, kEndRestoreDelayMs, nullptr);
    Layout();
    SetTimer(hwnd, kTimerCheckViewWindows, kViewWindowCheckMs, nullptr);
    SetTimer(hwnd, kTimerBackupConfig, kConfigBackupMs, nullptr);
}

void MainWindow::Detach() {
    if (hwnd) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    hwnd = nullptr;
}
