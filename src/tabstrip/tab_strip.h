#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tabstrip/fav_list.h"
#include "tabstrip/tab_strip_buttons.h"
#include "tabstrip/tab_strip_events.h"
#include "tabstrip/tab_strip_layout.h"
#include "tabstrip/tab_strip_messages.h"
#include "ui/drag_ghost.h"
#include "ui/drawn_accessible.h"
#include "ui/handles.h"
#include "ui/owner_calls.h"
#include "ui/window_class.h"

inline constexpr wchar_t kTabStripClass[] = L"Quorlen.TabStrip";
// The image of a dragged tab.
inline constexpr wchar_t kTabGhostClass[] = L"Quorlen.TabGhost";
inline constexpr int kTabGhostHeightDips = 28;

// What sets a tab apart beyond its title and icon. Pinned tabs come first.
struct TabLook {
    bool pinned = false;
    int colour = 0;  // a tab colour's number (tab_colours.h); 0 none
    // Shown over the tab whatever its width, as a renamed tab tells its
    // folder; empty: the title, when it is cut short.
    std::wstring tip;

    bool operator==(const TabLook&) const = default;
};

// The custom-drawn row of tabs in a main window's title area, with the new-tab,
// favourites, settings and folder-options buttons and the window's caption
// buttons. The owner pushes the tabs in; the strip never changes them itself and
// reports what the user does through its callbacks. Files dragged from anywhere
// can be dropped into a tab's folder, and folders on the "+" to open them as tabs.
class TabStrip final : private AccessibleSource {
public:
    TabStrip();
    ~TabStrip();
    TabStrip(const TabStrip&) = delete;
    TabStrip& operator=(const TabStrip&) = delete;

    // Creates the strip window as a child of parent. False when the window
    // cannot be made; missing icons, tooltips or drop support only leave them out.
    [[nodiscard]] bool Create(HWND parent, int controlId);

    [[nodiscard]] HWND Hwnd() const { return hwnd; }

    // Replaces every tab. When the icon indices do not pair up with the titles,
    // every tab shows the folder icon; when the looks do not, no tab is pinned
    // or coloured. Busy marks are cleared.
    // Icons are indices into the small system image list; a negative one stands
    // for the plain folder icon, which is looked up only when it is drawn: the
    // shell's first icon costs it its image list.
    void SetTabs(const std::vector<std::wstring>& titles, int activeIndex, const std::vector<int>& iconIndices,
                 const std::vector<TabLook>& looks = {});
    void SetActive(int index);
    void SetTitle(int index, const std::wstring& title);
    void SetIcon(int index, int iconIndex);
    // A busy tab shows a turning spinner in place of its icon.
    void SetLoading(int index, bool busy);
    void ClearLoading();
    void SetDpi(UINT newDpi);
    void SetFavourites(const std::vector<std::wstring>& paths);
    // The theme or the system colours changed: the glyphs are drawn again in them.
    void OnColoursChanged();

    // The height in px the strip needs at a width in px; 0 or less: its current width.
    [[nodiscard]] int HeightForWidth(int width) const;
    void Layout();

    // Where a tab dropped at a screen point would go, and the tab under a screen
    // point; both give the number of tabs when the point is over no tab.
    [[nodiscard]] int InsertionIndexAt(POINT screenPoint) const;
    [[nodiscard]] int TabIndexAt(POINT screenPoint) const;

    // Set by the owner; each may call back into the strip, or destroy it.
    // Drop points are in screen coordinates.
    std::function<void(int event, int index)> onEvent;
    // A dragged tab was dropped on this strip, to move where the point says.
    std::function<void(int tab, POINT dropPoint)> onTabDropped;
    // A dragged tab was dropped on otherStrip, the strip of another window.
    std::function<void(int tab, POINT dropPoint, HWND otherStrip)> onTabDroppedOnOtherStrip;
    // A dragged tab was dropped outside every strip, to open in a window of its own there.
    std::function<void(int tab, POINT dropPoint)> onTabTornOff;
    // Folders, as desktop-absolute parsing names, were dropped to open as tabs.
    std::function<void(const std::vector<std::wstring>& folders)> onFoldersDropped;
    // A favourite of the star's drop-down was chosen, by its index in SetFavourites.
    std::function<void(int favourite, FavouriteAction action)> onFavouriteChosen;
    // Set by the owner: the folder of a tab, which files dropped on the tab go
    // into; empty for none.
    std::function<std::wstring(int tabIndex)> tabFolder;
    // Set by the owner: whether a tab is split, which its menu offers to undo.
    std::function<bool(int tabIndex)> tabIsSplit;
    // A colour was chosen for a tab from its menu; 0 takes its colour away.
    std::function<void(int tab, int colour)> onTabColour;

private:
    // The tooltip's one tool, which the hot tracking moves from tab to tab.
    static constexpr UINT_PTR kTitleToolId = 1;
    // Runs while files are dragged over an inactive tab; the spinner has timer 2.
    static constexpr UINT_PTR kDropHoverTimerId = 3;
    // Posted to itself to run a default action an assistive tool asked for.
    static constexpr UINT kAccessibleActionMessage = WM_USER + 0x50;

    class FileDrop;

    friend LRESULT CALLBACK RouteToObject<TabStrip>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    void MakeIcons();
    void DropIcons();
    void MakeTooltip();
    void OnDestroy();
    [[nodiscard]] std::optional<LRESULT> AnswerQuery(UINT message, WPARAM wParam);
    // False when the owner destroyed this strip while handling the event:
    // nothing of it may be touched then.
    bool RaiseEvent(int event, int index) const { return ownerCalls.Call(onEvent, event, index); }
    void Repaint();
    void NameActiveTab();
    [[nodiscard]] bool ValidIndex(int index) const;
    [[nodiscard]] bool IsPinned(int index) const;
    [[nodiscard]] int PinnedCount() const;
    // Whether the pinned tab at index shows its short name beside its icon.
    [[nodiscard]] bool ShowsShortName(int index) const;
    [[nodiscard]] std::vector<int> TabWidths() const;
    [[nodiscard]] std::optional<int> TitleWidth(const std::wstring& title) const;

    void UpdateSpinnerTimer();
    void OnSpinnerTick();

    // Painting, in tab_strip_paint.cpp.
    void Paint(HDC target);
    void PaintContent(HDC dc, const RECT& client);
    void PaintTab(HDC dc, int index);
    void PaintSpinner(HDC dc, const RECT& tab);
    void PaintButtons(HDC dc);
    [[nodiscard]] HICON ButtonIcon(size_t row, bool windowMaximized) const;
    void PaintInsertionBar(HDC dc);

    // Mouse input, in tab_strip_input.cpp and tab_strip_hover.cpp.
    [[nodiscard]] std::optional<LRESULT> HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] POINT ToScreen(POINT client) const;
    [[nodiscard]] HWND TopLevel() const;
    [[nodiscard]] bool InDeadZone(POINT client, POINT screen) const;
    void OnMouseMove(POINT client, WPARAM wParam, LPARAM lParam);
    void OnLeftButtonDown(POINT client);
    void OnLeftButtonUp(POINT client);
    void OnDoubleClick(POINT client);
    void OnMiddleButtonDown(POINT client);
    void OnContextMenu(POINT screen);
    void EndMouseModes();
    void PressTab(int tab, POINT client);
    void StartTabDrag();
    void DragTab(POINT client, POINT screen);
    void DropTab(POINT client);
    void PressButton(const TabStripButton& button, POINT client);
    void PressCaptionButton(int hitCode, POINT client);
    void EscapeCaptionButtonIntoResize(POINT screen);
    void ReleaseCaptionButton();
    void PressEventButton(int hitCode, int event);
    void PressStar();
    void StartWindowMove(POINT client);
    void MoveWindowWithCursor(POINT client, POINT screen);
    void ShowTabMenu(int tab, POINT screen);
    // The tab menu's colour rows, as a menu of their own.
    [[nodiscard]] HMENU MakeColourMenu(int tab) const;
    void ActOnWindow(ButtonAction action);

    // Screen readers and the keyboard, in tab_strip_accessible.cpp.
    [[nodiscard]] int TabCount() const;
    // The button an accessible child stands for; null for a tab.
    [[nodiscard]] const TabStripButton* ButtonOfChild(int index) const;
    [[nodiscard]] LONG AccessibleRole() const override;
    [[nodiscard]] std::wstring AccessibleName() const override;
    [[nodiscard]] LONG AccessibleState() const override;
    [[nodiscard]] int AccessibleChildCount() const override;
    [[nodiscard]] AccessibleChild AccessibleChildAt(int index) const override;
    bool AccessibleDoDefaultAction(int index) override;
    bool AccessibleSelect(int index, LONG flags) override;
    [[nodiscard]] int AccessibleFocus() const override;
    [[nodiscard]] int AccessibleSelection() const override;
    void RunAccessibleAction(WPARAM wParam, LPARAM lParam);
    void FocusTab(int index);
    void InvalidateTab(int index);
    bool OnKeyDown(WPARAM key);
    void OnFocusChanged(bool gained);
    void AnnounceActiveTab();

    // Hot tracking and the tooltip, in tab_strip_hover.cpp.
    void TrackHot(POINT client, POINT screen, WPARAM wParam, LPARAM lParam);
    void SetHot(int tab, int button);
    void InvalidateHot();
    void UpdateTooltip();
    void RelayToTooltip(POINT screen, WPARAM wParam, LPARAM lParam);

    // Files dragged from anywhere, in tab_strip_drop.cpp.
    void AcceptFileDrops();
    void StopFileDrops();

    HWND hwnd = nullptr;
    HWND tooltip = nullptr;
    int dpi = 96;

    std::vector<std::wstring> titles;
    std::vector<int> iconIndices;
    std::vector<TabLook> looks;
    mutable std::vector<std::optional<int>> titleWidths;
    mutable int measuredDpi = 0;
    mutable bool measuredInWindow = false;
    std::vector<bool> loading;
    int activeIndex = -1;
    int spinnerAngle = 0;
    bool spinnerTimerRunning = false;
    TabStripLayout layout;

    // The icons of each button's faces, row by row of kTabStripButtons.
    struct ButtonIcons {
        UniqueIcon face;
        UniqueIcon maximizedFace;
    };
    std::array<ButtonIcons, kTabStripButtonCount> buttonIcons;

    // Set by the mouse handling, read by the painting.
    int hotButton = kHitNothing;  // a button's hit code
    int hotTab = -1;
    int pressedButton = 0;  // a button's hit code; 0 none
    bool dragging = false;
    int insertIndex = -1;

    int tooltipTabShown = -1;
    std::wstring tooltipText;

    int pressedTab = -1;
    POINT tabPressPoint{};  // client coordinates
    POINT captionPressPoint{};
    DragGhost ghost{kTabGhostClass, kTabGhostHeightDips};

    bool moving = false;
    bool moveStarted = false;
    bool moveWasMaximized = false;
    POINT movePressClient{};
    POINT movePressScreen{};
    POINT moveOrigin{};  // the top-level window's top-left the cursor's travel is added to

    FavList favList;

    AccessibleHolder accessible;  // made when a tool first asks
    int focusTab = -1;            // the tab the keyboard is on while the strip has the focus

    ComPtr<FileDrop> fileDrop;  // null when the window takes no drops
    bool fileDropsOffered = false;

    OwnerCalls ownerCalls;

    std::vector<std::wstring> favPaths;
    std::vector<std::wstring> favNames;
    std::vector<int> favIcons;
};
