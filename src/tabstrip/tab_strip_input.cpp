#include "tabstrip/tab_strip.h"

#include <windowsx.h>

#include <iterator>

#include "tabstrip/tab_strip_input_rules.h"
#include "ui/dark_menu.h"
#include "ui/dpi.h"
#include "ui/mouse_tracking.h"
#include "ui/resize_band.h"
#include "ui/tab_colours.h"

namespace {

// The tab menu, top to bottom; a null text is a separator. A choice raises the
// row's event for the tab; the command is the row's place plus one. A row that
// undoes a state the tab is in reads textWhenOn then.
struct TabMenuRow {
    const wchar_t* text;
    int event;
    const wchar_t* textWhenOn = nullptr;
};

// The row that opens the colours rather than raise an event.
constexpr int kColourRow = -1;

constexpr TabMenuRow kTabMenuRows[] = {
    {L"新建标签页(&N)", kTabEventNewTab},
    {L"复制标签页(&D)", kTabEventDuplicate},
    {L"在新窗口中打开(&W)", kTabEventOpenInNewWindow},
    {L"拆分视图(&S)", kTabEventToggleSplit, L"取消拆分(&S)"},
    {nullptr, 0},
    {L"固定标签页(&P)", kTabEventTogglePin, L"取消固定(&P)"},
    {L"重命名标签页(&R)…", kTabEventRename},
    {L"标签颜色(&L)", kColourRow},
    {nullptr, 0},
    {L"收藏此文件夹(&A)", kTabEventAddFavourite},
    {nullptr, 0},
    {L"重新打开关闭的标签页(&U)", kTabEventReopenClosed},
    {nullptr, 0},
    {L"关闭标签(&C)", kTabEventClose},
    {L"关闭其他标签页(&O)", kTabEventCloseOthers},
    {L"关闭右侧标签页(&I)", kTabEventCloseToTheRight},
};

// The colour rows' commands follow every row's, one per colour and none first.
constexpr UINT kFirstColourCommand = 100;

void ToggleMaximized(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    ShowWindow(window, placement.showCmd == SW_SHOWMAXIMIZED ? SW_RESTORE : SW_MAXIMIZE);
}

}  // namespace

std::optional<LRESULT> TabStrip::HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // Each handler may end in an event whose handling destroys this strip, so
    // nothing of it is touched once a handler returns.
    switch (message) {
    case WM_SETCURSOR:
        if (ShowArrowInResizeBand(hwnd)) return TRUE;
        return std::nullopt;
    case WM_MOUSEMOVE:
        OnMouseMove(point, wParam, lParam);
        return 0;
    case WM_MOUSELEAVE:
        SetHot(-1, kHitNothing);
        UpdateTooltip();
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(point);
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(point);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(point);
        return 0;
    case WM_MBUTTONDOWN:
        OnMiddleButtonDown(point);
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(point);
        return 0;
    case WM_CAPTURECHANGED:
        EndMouseModes();
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam)) return 0;
        return std::nullopt;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocusChanged(message == WM_SETFOCUS);
        return 0;
    default:
        return std::nullopt;
    }
}

POINT TabStrip::ToScreen(POINT client) const {
    ClientToScreen(hwnd, &client);
    return client;
}

HWND TabStrip::TopLevel() const { return GetAncestor(hwnd, GA_ROOT); }

// Presses at the window's edges belong to resizing; presses on a tab's outline
// or just below it are too easily meant for something else to act on.
bool TabStrip::InDeadZone(POINT client, POINT screen) const {
    return InResizeBand(hwnd, screen) || InTabDeadZone(layout.tabRects, client, dpi);
}

void TabStrip::OnMouseMove(POINT client, WPARAM wParam, LPARAM lParam) {
    RequestMouseLeave(hwnd);
    const POINT screen = ToScreen(client);
    if (pressedTab >= 0) {
        if (!dragging && MovedBeyond(tabPressPoint, client, ScaleDip(kTabDragThresholdDips, dpi))) StartTabDrag();
        if (dragging) {
            DragTab(client, screen);
            return;
        }
    }
    if (IsCaptionButton(pressedButton) &&
        MovedBeyond(captionPressPoint, client, ScaleDip(kCaptionEscapeThresholdDips, dpi))) {
        EscapeCaptionButtonIntoResize(screen);
        return;
    }
    if (moving) MoveWindowWithCursor(client, screen);
    TrackHot(client, screen, wParam, lParam);
}

void TabStrip::OnLeftButtonDown(POINT client) {
    if (InDeadZone(client, ToScreen(client))) return;
    SetHot(-1, hotButton);
    UpdateTooltip();
    const TabStripHit hit = HitTestTabStrip(layout, client, dpi);
    if (hit.code >= 0) {
        if (hit.onCloseZone) {
            RaiseEvent(kTabEventClose, hit.code);
        } else {
            PressTab(hit.code, client);
        }
        return;
    }
    if (const TabStripButton* button = FindTabStripButton(hit.code)) {
        PressButton(*button, client);
    } else if (client.x >= ScaleDip(kNoMoveMarginDips, dpi)) {
        StartWindowMove(client);
    }
}

void TabStrip::OnLeftButtonUp(POINT client) {
    if (pressedTab >= 0) {
        DropTab(client);
    } else if (IsCaptionButton(pressedButton)) {
        ReleaseCaptionButton();
    } else if (moving) {
        moving = false;
        ReleaseCapture();
    }
}

// Only the empty strip answers a double click, like a title bar; on a tab or a
// button the second click does nothing, so that a double click acts as one.
void TabStrip::OnDoubleClick(POINT client) {
    if (InDeadZone(client, ToScreen(client))) return;
    if (HitTestTabStrip(layout, client, dpi).code != kHitNothing) return;
    if (moving) {
        moving = false;
        ReleaseCapture();
    }
    ToggleMaximized(TopLevel());
}

// A pinned tab is kept from a stray click: only an explicit close takes it.
void TabStrip::OnMiddleButtonDown(POINT client) {
    if (InDeadZone(client, ToScreen(client))) return;
    const TabStripHit hit = HitTestTabStrip(layout, client, dpi);
    if (hit.code >= 0 && !IsPinned(hit.code)) RaiseEvent(kTabEventClose, hit.code);
}

void TabStrip::OnContextMenu(POINT screen) {
    // From the keyboard the menu has no point of its own; it opens on the active tab.
    if (screen.x == -1 && screen.y == -1) {
        if (!ValidIndex(activeIndex) || activeIndex >= static_cast<int>(layout.tabRects.size())) return;
        const RECT& tab = layout.tabRects[static_cast<size_t>(activeIndex)];
        ShowTabMenu(activeIndex, ToScreen(POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2}));
        return;
    }
    POINT client = screen;
    ScreenToClient(hwnd, &client);
    if (InDeadZone(client, screen)) return;
    const TabStripHit hit = HitTestTabStrip(layout, client, dpi);
    if (hit.code >= 0) ShowTabMenu(hit.code, screen);
}

void TabStrip::ShowTabMenu(int tab, POINT screen) {
    const UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    std::vector<bool> pinned(titles.size());
    for (size_t i = 0; i < pinned.size(); ++i) pinned[i] = IsPinned(static_cast<int>(i));
    UINT command = 0;
    for (const TabMenuRow& row : kTabMenuRows) {
        ++command;
        if (!row.text) {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        if (row.event == kColourRow) {
            // The submenu belongs to the menu once appended, and goes with it.
            HMENU colours = MakeColourMenu(tab);
            if (colours && !AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(colours), row.text)) {
                DestroyMenu(colours);
            }
            continue;
        }
        const UINT state = TabMenuEventApplies(row.event, tab, pinned) ? MF_ENABLED : MF_GRAYED;
        const bool on = (row.event == kTabEventToggleSplit && tabIsSplit && tabIsSplit(tab)) ||
                        (row.event == kTabEventTogglePin && IsPinned(tab));
        AppendMenuW(menu.get(), MF_STRING | state, command, on ? row.textWhenOn : row.text);
    }
    DrawMenuInPalette(menu.get());
    const UINT choice = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd, nullptr));
    if (choice >= kFirstColourCommand && choice <= kFirstColourCommand + kTabColourCount) {
        ownerCalls.Call(onTabColour, tab, static_cast<int>(choice - kFirstColourCommand));
        return;
    }
    if (choice == 0 || choice > std::size(kTabMenuRows)) return;
    const TabMenuRow& chosen = kTabMenuRows[choice - 1];
    // A new tab comes from the menu as from the "+" button, for no tab in particular.
    RaiseEvent(chosen.event, chosen.event == kTabEventNewTab ? -1 : tab);
}

// None first, then each colour, the tab's own checked; each with its access key.
HMENU TabStrip::MakeColourMenu(int tab) const {
    HMENU colours = CreatePopupMenu();
    if (!colours) return nullptr;
    const int current = ValidIndex(tab) ? looks[static_cast<size_t>(tab)].colour : 0;
    for (int colour = 0; colour <= kTabColourCount; ++colour) {
        const std::wstring text = TabColourMenuText(colour);
        const UINT checked = colour == current ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuW(colours, MF_STRING | checked, kFirstColourCommand + static_cast<UINT>(colour), text.c_str());
    }
    return colours;
}

// Whatever takes the capture away (a release, another window, the system) ends
// every gesture without an event.
void TabStrip::EndMouseModes() {
    moving = false;
    pressedButton = 0;
    if (pressedTab >= 0 || dragging) {
        dragging = false;
        pressedTab = -1;
        insertIndex = -1;
        ghost.Destroy();
    }
    Repaint();
}

void TabStrip::PressTab(int tab, POINT client) {
    SetCapture(hwnd);
    pressedTab = tab;
    tabPressPoint = client;
    dragging = false;
}

void TabStrip::StartTabDrag() {
    dragging = true;
    if (ValidIndex(pressedTab)) {
        ghost.Show(titles[static_cast<size_t>(pressedTab)], GhostOrigin(ToScreen(tabPressPoint), dpi), dpi);
    }
}

void TabStrip::DragTab(POINT client, POINT screen) {
    ghost.MoveTo(GhostOrigin(screen, dpi));
    RECT clientRect{};
    GetClientRect(hwnd, &clientRect);
    const int index = InsertIndexAmong(DragInsertIndex(layout.tabRects, clientRect, client), IsPinned(pressedTab),
                                       PinnedCount(), static_cast<int>(titles.size()));
    if (index == insertIndex) return;
    insertIndex = index;
    Repaint();
}

void TabStrip::DropTab(POINT client) {
    const int tab = pressedTab;
    const bool dragged = dragging;
    pressedTab = -1;
    insertIndex = -1;
    dragging = false;
    ghost.Destroy();
    Repaint();
    ReleaseCapture();
    if (!dragged) {
        RaiseEvent(kTabEventActivate, tab);
        return;
    }
    const POINT dropPoint = ToScreen(client);
    const HWND under = WindowFromPoint(dropPoint);
    wchar_t className[64] = {};
    if (under) GetClassNameW(under, className, 64);
    switch (TabLandingAt(under == hwnd, className)) {
    case TabLanding::ThisStrip:
        ownerCalls.Call(onTabDropped, tab, dropPoint);
        return;
    case TabLanding::OtherStrip:
        ownerCalls.Call(onTabDroppedOnOtherStrip, tab, dropPoint, under);
        return;
    case TabLanding::Elsewhere:
        ownerCalls.Call(onTabTornOff, tab, dropPoint);
        return;
    }
}

// The buttons that tell the owner or open the favourites act on the press; the
// window's own wait for the release, as the system's caption buttons do.
void TabStrip::PressButton(const TabStripButton& button, POINT client) {
    switch (button.action) {
    case ButtonAction::RaiseEvent:
        PressEventButton(button.hitCode, button.event);
        return;
    case ButtonAction::OpenFavourites:
        PressStar();
        return;
    default:
        PressCaptionButton(button.hitCode, client);
        return;
    }
}

void TabStrip::PressCaptionButton(int hitCode, POINT client) {
    SetCapture(hwnd);
    pressedButton = hitCode;
    captionPressPoint = client;
    Repaint();
}

// Dragging away from a caption button resizes the window from its right edge,
// as the frame there would: the buttons cover the top of that edge.
void TabStrip::EscapeCaptionButtonIntoResize(POINT screen) {
    pressedButton = 0;
    Repaint();
    ReleaseCapture();
    const HWND window = TopLevel();
    RECT bounds{};
    GetWindowRect(window, &bounds);
    SendMessageW(window, WM_NCLBUTTONDOWN, static_cast<WPARAM>(ResizeHitCode(screen.y, bounds.top, dpi)),
                 MAKELPARAM(screen.x, screen.y));
}

// The button acts wherever the button is released, as long as the press did not
// turn into a resize.
void TabStrip::ReleaseCaptionButton() {
    const TabStripButton* button = FindTabStripButton(pressedButton);
    pressedButton = 0;
    Repaint();
    ReleaseCapture();
    if (button) ActOnWindow(button->action);
}

void TabStrip::ActOnWindow(ButtonAction action) {
    const HWND window = TopLevel();
    switch (action) {
    case ButtonAction::Minimize:
        ShowWindow(window, SW_MINIMIZE);
        return;
    case ButtonAction::ToggleMaximized:
        ToggleMaximized(window);
        return;
    case ButtonAction::CloseWindow:
        SendMessageW(window, WM_CLOSE, 0, 0);
        return;
    default:
        return;
    }
}

// These buttons act on the press; they show it pressed while the owner acts.
void TabStrip::PressEventButton(int hitCode, int event) {
    pressedButton = hitCode;
    Repaint();
    UpdateWindow(hwnd);
    if (!RaiseEvent(event, -1)) return;
    pressedButton = 0;
    Repaint();
}

void TabStrip::PressStar() {
    pressedButton = kHitStar;
    Repaint();
    UpdateWindow(hwnd);
    const POINT below = ToScreen(POINT{layout.starRect.left, layout.starRect.bottom});
    favList.Open(hwnd, below, dpi, favNames, favIcons, [this](int favourite, FavouriteAction action) {
        ownerCalls.Call(onFavouriteChosen, favourite, action);
    });
    pressedButton = 0;
    Repaint();
}

void TabStrip::StartWindowMove(POINT client) {
    SetCapture(hwnd);
    const HWND window = TopLevel();
    RECT bounds{};
    GetWindowRect(window, &bounds);
    moving = true;
    moveStarted = false;
    moveWasMaximized = IsZoomed(window) != FALSE;
    movePressClient = client;
    movePressScreen = ToScreen(client);
    moveOrigin = POINT{bounds.left, bounds.top};
}

void TabStrip::MoveWindowWithCursor(POINT client, POINT screen) {
    const HWND window = TopLevel();
    if (!moveStarted) {
        if (!MovedBeyond(movePressClient, client, ScaleDip(kWindowMoveThresholdDips, dpi))) return;
        moveStarted = true;
        if (moveWasMaximized) {
            // A maximised window comes back to its normal size and place, and
            // follows the cursor from there.
            ShowWindow(window, SW_RESTORE);
            moveWasMaximized = false;
            RECT normal{};
            GetWindowRect(window, &normal);
            moveOrigin = POINT{normal.left, normal.top};
        }
    }
    SetWindowPos(window, nullptr, moveOrigin.x + screen.x - movePressScreen.x,
                 moveOrigin.y + screen.y - movePressScreen.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
