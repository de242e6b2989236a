#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/drag_ghost.h"
#include "ui/drawn_accessible.h"
#include "ui/handles.h"
#include "ui/owner_calls.h"
#include "ui/window_class.h"

inline constexpr wchar_t kFavBarClass[] = L"Quorlen.FavBar";
// The image of a dragged favourite.
inline constexpr wchar_t kFavGhostClass[] = L"Quorlen.FavGhost";
inline constexpr int kFavGhostHeightDips = 26;

// Events the bar raises through onEvent, with a favourite's index and a path.
inline constexpr int kFavEventOpen = 0;    // the favourite's path
inline constexpr int kFavEventRemove = 1;  // the favourite's path
inline constexpr int kFavEventAdd = 2;     // index -1, a path dropped on the bar
inline constexpr int kFavEventOpenBehind = 4;  // the favourite's path, for a tab behind the active one

// Outside tools send this to read the number of favourites.
inline constexpr UINT kFavBarCountMessage = 0x8060;

// A favourite as the bar shows it.
struct FavItem {
    std::wstring path;
    std::wstring name;
    int iconIndex = 0;  // into the small system image list
    int width = 0;      // px, for the name in the bar's font
    RECT rect{};        // client coordinates, set by the layout
};

// The custom-drawn bar of favourite folders and files under the command bar,
// wrapping onto as many rows as it needs. The owner pushes the favourites in;
// the bar never changes them itself and reports what the user does through its
// callbacks: opening, removing, reordering and dropping files on it.
class FavBar final : private AccessibleSource {
public:
    FavBar() = default;
    ~FavBar();
    FavBar(const FavBar&) = delete;
    FavBar& operator=(const FavBar&) = delete;

    // Creates the bar window as a child of parent. False when the window cannot
    // be made; a missing star icon only leaves it out.
    [[nodiscard]] bool Create(HWND parent, int controlId);

    [[nodiscard]] HWND Hwnd() const { return hwnd; }

    void SetFavourites(const std::vector<std::wstring>& paths);
    void SetDpi(UINT newDpi);
    // The theme or the system colours changed: the star is drawn again in them.
    void OnColoursChanged();

    // The height in px the bar needs at a width in px; 0 or less: its current width.
    [[nodiscard]] int HeightForWidth(int width) const;
    void Layout();

    // Where a favourite dropped at a screen point would go: before the item
    // under it when left of that item's middle, after it otherwise, and at the
    // end over no item.
    [[nodiscard]] int InsertionIndexAt(POINT screenPoint) const;

    // Set by the owner; each may call back into the bar, or destroy it.
    std::function<void(int event, int index, const std::wstring& path)> onEvent;
    // A dragged favourite was dropped on the bar, to go to slot as InsertionIndexAt gives it.
    std::function<void(int favourite, int slot)> onFavouriteMoved;

private:
    friend LRESULT CALLBACK RouteToObject<FavBar>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Posted to itself to open a favourite an assistive tool pressed (wParam).
    static constexpr UINT kAccessibleOpenMessage = WM_USER + 0x50;

    // Assistive tools: a tool bar of push buttons, one per favourite.
    [[nodiscard]] LONG AccessibleRole() const override;
    [[nodiscard]] std::wstring AccessibleName() const override;
    [[nodiscard]] int AccessibleChildCount() const override;
    [[nodiscard]] AccessibleChild AccessibleChildAt(int index) const override;
    bool AccessibleDoDefaultAction(int index) override;
    void MakeStarIcon();

    // False when the owner destroyed this bar while handling the event: nothing
    // of it may be touched then.
    bool RaiseEvent(int event, int index, const std::wstring& path) const;
    void Repaint();
    void MeasureItems();
    [[nodiscard]] int RowHeight() const;
    [[nodiscard]] std::vector<int> ItemWidths() const;
    [[nodiscard]] std::vector<RECT> ItemRects() const;
    [[nodiscard]] bool ValidIndex(int index) const;

    void Paint(HDC target);
    void PaintContent(HDC dc, const RECT& client);
    void PaintItem(HDC dc, int index);

    // Mouse and dropped files, in fav_bar_input.cpp.
    [[nodiscard]] std::optional<LRESULT> HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] POINT ToScreen(POINT client) const;
    void OnMouseMove(POINT client);
    void TrackHot(POINT client);
    void SetHot(int item);
    void InvalidateItem(int item);
    void OnLeftButtonDown(POINT client);
    void OnLeftButtonUp(POINT client);
    void OnRightButtonUp(POINT client);
    void OnMiddleButtonDown(POINT client);
    void OnDropFiles(HDROP drop);
    void DragItem(POINT client, POINT screen);
    void EndPress();

    HWND hwnd = nullptr;
    int dpi = 96;
    UniqueIcon starIcon;
    std::vector<FavItem> items;

    // Set by the mouse handling, read by the painting.
    int hotItem = -1;
    int pressedItem = -1;
    POINT pressPoint{};  // client coordinates
    bool dragging = false;
    int insertIndex = -1;
    DragGhost ghost{kFavGhostClass, kFavGhostHeightDips};

    AccessibleHolder accessible;  // made when a tool first asks

    OwnerCalls ownerCalls;
};
