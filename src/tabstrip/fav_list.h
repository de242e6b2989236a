#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/window_class.h"

inline constexpr wchar_t kFavListClass[] = L"Quorlen.FavList";

// Geometry of the favourites drop-down: one row per favourite, each with its
// icon, its name and a "×" column at the right that removes it.

// The client size of the list for the widest name in px and the number of rows.
[[nodiscard]] SIZE FavListSize(int widestName, int rows, int dpi);

// The row under a client point, -1 when the point is outside the rows.
[[nodiscard]] int FavListRowAt(POINT client, SIZE clientSize, int rows, int dpi);

// Whether a client x lies in the "×" column.
[[nodiscard]] bool OnFavRemoveColumn(int x, int clientWidth, int dpi);

struct FavRowParts {
    RECT row{};
    POINT icon{};
    RECT name{};
    RECT removeMark{};
};

[[nodiscard]] FavRowParts FavListRow(int row, int clientWidth, int dpi);

// What a click on a favourite's row asks for.
enum class FavouriteAction {
    Open,
    OpenBehind,  // in a tab behind the active one
    Remove,
};

// The drop-down list of favourites under the strip's star button. A click on a
// row opens or removes that favourite, a middle click opens it behind the active
// tab; any click in the list, and losing the activation, closes it.
class FavList {
public:
    using PickHandler = std::function<void(int favourite, FavouriteAction action)>;

    FavList() = default;
    ~FavList();
    FavList(const FavList&) = delete;
    FavList& operator=(const FavList&) = delete;

    // Shows the favourites, as they are now, with the list's top-left at a screen
    // point; replaces a list open before. Nothing opens without favourites.
    void Open(HWND owner, POINT screenTopLeft, int listDpi, const std::vector<std::wstring>& favouriteNames,
              const std::vector<int>& favouriteIcons, PickHandler handler);
    void Close();

    [[nodiscard]] HWND Hwnd() const { return hwnd; }

private:
    friend LRESULT CALLBACK RouteToObject<FavList>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);
    void OnMouseMove(POINT client);
    void OnMouseLeave();
    void OnClick(POINT client, bool middleButton);
    void InvalidateRow(int row);
    [[nodiscard]] SIZE ClientSize() const;
    [[nodiscard]] int Rows() const { return static_cast<int>(names.size()); }

    HWND hwnd = nullptr;
    int dpi = 96;
    std::vector<std::wstring> names;
    std::vector<int> icons;
    PickHandler onPick;
    int hotRow = -1;
};
