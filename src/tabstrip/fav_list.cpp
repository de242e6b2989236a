#include "tabstrip/fav_list.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "ui/dpi.h"
#include "ui/fonts.h"
#include "ui/handles.h"
#include "ui/mouse_tracking.h"
#include "ui/paint_context.h"
#include "ui/palette.h"
#include "ui/shell_icons.h"

namespace {

constexpr int kRowDips = 28;
constexpr int kRemoveColumnDips = 22;
constexpr int kIconLeftDips = 8;
constexpr int kIconDips = 16;
constexpr int kNameLeftDips = 30;
constexpr int kNameGapDips = 20;
constexpr wchar_t kRemoveMark[] = L"×";
constexpr DWORD kListStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kListExStyle = WS_EX_TOOLWINDOW;

bool RegisterListClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = RouteToObject<FavList>;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kFavListClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    return registered;
}

}  // namespace

SIZE FavListSize(int widestName, int rows, int dpi) {
    return SIZE{ScaleDip(kNameLeftDips, dpi) + ScaleDip(kNameGapDips, dpi) + widestName +
                    ScaleDip(kRemoveColumnDips, dpi),
                ScaleDip(kRowDips, dpi) * rows};
}

int FavListRowAt(POINT client, SIZE clientSize, int rows, int dpi) {
    if (client.x < 0 || client.y < 0 || client.x >= clientSize.cx || client.y >= clientSize.cy) return -1;
    const int row = client.y / ScaleDip(kRowDips, dpi);
    return row < rows ? row : -1;
}

bool OnFavRemoveColumn(int x, int clientWidth, int dpi) {
    return x >= clientWidth - ScaleDip(kRemoveColumnDips, dpi);
}

FavRowParts FavListRow(int row, int clientWidth, int dpi) {
    const int height = ScaleDip(kRowDips, dpi);
    const LONG top = height * row;
    const LONG removeLeft = clientWidth - ScaleDip(kRemoveColumnDips, dpi);
    FavRowParts parts;
    parts.row = RECT{0, top, clientWidth, top + height};
    parts.icon = POINT{ScaleDip(kIconLeftDips, dpi), top + (height - ScaleDip(kIconDips, dpi)) / 2};
    parts.name = RECT{ScaleDip(kNameLeftDips, dpi), top, removeLeft, top + height};
    parts.removeMark = RECT{removeLeft, top, clientWidth, top + height};
    return parts;
}

FavList::~FavList() { Close(); }

void FavList::Open(HWND owner, POINT screenTopLeft, int listDpi, const std::vector<std::wstring>& favouriteNames,
                   const std::vector<int>& favouriteIcons, PickHandler handler) {
    Close();
    if (favouriteNames.empty() || !RegisterListClass()) return;
    dpi = listDpi;
    names = favouriteNames;
    icons = favouriteIcons;
    icons.resize(names.size(), -1);
    onPick = std::move(handler);
    hotRow = -1;

    int widest = 0;
    for (const std::wstring& name : names) widest = std::max(widest, UiTextWidth(name, dpi).value_or(0));
    const SIZE content = FavListSize(widest, Rows(), dpi);
    // The sizes are those of the rows; the border comes on top, so that no row is cut.
    RECT bounds{0, 0, content.cx, content.cy};
    AdjustWindowRectEx(&bounds, kListStyle, FALSE, kListExStyle);
    const HWND created = CreateWindowExW(kListExStyle, kFavListClass, L"", kListStyle, screenTopLeft.x,
                                         screenTopLeft.y, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                         owner, nullptr, GetModuleHandleW(nullptr), this);
    if (created) ShowWindow(created, SW_SHOW);
}

void FavList::Close() {
    if (hwnd) DestroyWindow(hwnd);
}

LRESULT FavList::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_PAINT:
        PaintWindow(hwnd, [this](HDC target) {
            RECT client{};
            GetClientRect(hwnd, &client);
            PaintBuffered(target, client, [this](HDC dc) { Paint(dc); });
        });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        OnMouseMove(point);
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
        OnClick(point, false);
        return 0;
    case WM_MBUTTONDOWN:
        OnClick(point, true);
        return 0;
    case WM_ACTIVATE:
        // Clicking anywhere else closes the list; closing later lets the
        // activation change finish first.
        if (LOWORD(wParam) == WA_INACTIVE) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

SIZE FavList::ClientSize() const {
    RECT client{};
    GetClientRect(hwnd, &client);
    return SIZE{client.right, client.bottom};
}

void FavList::Paint(HDC dc) {
    const SIZE client = ClientSize();
    const RECT all{0, 0, client.cx, client.cy};
    FillInk(dc, all, ChromeInk::Field);
    const SelectedObject font(dc, UiFont(dpi));
    SetBkMode(dc, TRANSPARENT);
    for (int row = 0; row < Rows(); ++row) {
        const FavRowParts parts = FavListRow(row, client.cx, dpi);
        if (row == hotRow) FillInk(dc, parts.row, ChromeInk::HotListRow);
        SetTextColor(dc, InkColour(row == hotRow ? ChromeInk::HotListText : ChromeInk::ListText));
        const RECT line{parts.row.left, parts.row.bottom - 1, parts.row.right, parts.row.bottom};
        FillInk(dc, line, ChromeInk::Outline);
        const size_t i = static_cast<size_t>(row);
        if (icons[i] >= 0) {
            ImageList_Draw(SmallSystemImageList(), icons[i], dc, parts.icon.x, parts.icon.y, ILD_TRANSPARENT);
        }
        RECT name = parts.name;
        DrawTextW(dc, names[i].c_str(), static_cast<int>(names[i].size()), &name,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        RECT removeMark = parts.removeMark;
        DrawTextW(dc, kRemoveMark, -1, &removeMark, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    }
}

void FavList::InvalidateRow(int row) {
    if (row < 0) return;
    const RECT rect = FavListRow(row, ClientSize().cx, dpi).row;
    InvalidateRect(hwnd, &rect, FALSE);
}

void FavList::OnMouseMove(POINT client) {
    const int row = FavListRowAt(client, ClientSize(), Rows(), dpi);
    if (row != hotRow) {
        InvalidateRow(hotRow);
        InvalidateRow(row);
        hotRow = row;
    }
    RequestMouseLeave(hwnd);
}

void FavList::OnMouseLeave() {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(hwnd, &cursor);
    RECT client{};
    GetClientRect(hwnd, &client);
    if (PtInRect(&client, cursor)) {
        // A leave reported while the cursor is still here (a tooltip or menu of
        // another window passing over it) must not end the tracking.
        RequestMouseLeave(hwnd);
        return;
    }
    InvalidateRow(hotRow);
    hotRow = -1;
}

void FavList::OnClick(POINT client, bool middleButton) {
    const int row = FavListRowAt(client, ClientSize(), Rows(), dpi);
    FavouriteAction action = middleButton ? FavouriteAction::OpenBehind : FavouriteAction::Open;
    if (OnFavRemoveColumn(client.x, ClientSize().cx, dpi)) action = FavouriteAction::Remove;
    // The list goes first: the owner's handling may open windows or message boxes,
    // and may even end the strip that holds this object.
    const PickHandler handler = onPick;
    DestroyWindow(hwnd);
    if (row >= 0 && handler) handler(row, action);
}
