#include "favbar/fav_bar.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "favbar/fav_bar_layout.h"
#include "ui/bar_geometry.h"
#include "ui/dark_menu.h"
#include "ui/dpi.h"
#include "ui/favourite_entry.h"
#include "ui/fonts.h"
#include "ui/glyph_icon.h"
#include "ui/paint_context.h"
#include "ui/palette.h"
#include "ui/shell_icons.h"

namespace {

constexpr int kStarDips = 16;
constexpr int kStarWeight = 400;
constexpr wchar_t kBarName[] = L"收藏夹栏";
constexpr wchar_t kOpenAction[] = L"打开";

}  // namespace

FavBar::~FavBar() { DestroyBoundWindow(hwnd); }

bool FavBar::Create(HWND parent, int controlId) {
    if (hwnd) return false;
    static const bool registered = RegisterChromeClass(kFavBarClass, RouteToObject<FavBar>, 0);
    if (!registered) return false;

    // The parent's monitor may have another scale than the primary one.
    dpi = static_cast<int>(GetDpiForWindow(parent));
    const HWND created = CreateWindowExW(0, kFavBarClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100,
                                         100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                         GetModuleHandleW(nullptr), this);
    if (!created) return false;
    DragAcceptFiles(hwnd, TRUE);
    MakeStarIcon();
    return true;
}

void FavBar::MakeStarIcon() {
    starIcon.reset(GlyphIcon(glyph::kStar, ScaleDip(kStarDips, dpi), InkColour(ChromeInk::StarGlyph), kIconFontFace,
                             kStarWeight));
}

void FavBar::OnColoursChanged() {
    if (!hwnd) return;
    MakeStarIcon();
    Repaint();
}

LRESULT FavBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> handled = HandleInput(message, wParam, lParam)) return *handled;
    if (const std::optional<LRESULT> item = AnswerMenuItemDrawing(message, wParam, lParam, dpi)) return *item;
    if (const std::optional<LRESULT> drawn =
            AnswerDrawnWindowMessage(hwnd, message, wParam, [this](HDC dc) { Paint(dc); })) {
        return *drawn;
    }
    switch (message) {
    case kFavBarCountMessage:
        return static_cast<LRESULT>(items.size());
    case WM_SIZE:
        Layout();
        Repaint();
        return 0;
    case WM_DESTROY:
        accessible.Disconnect(hwnd);
        ghost.Destroy();
        return 0;
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer = accessible.AnswerGetObject(hwnd, *this, wParam, lParam)) {
            return *answer;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case kAccessibleOpenMessage:
        if (ValidIndex(static_cast<int>(wParam))) {
            const std::wstring path = items[wParam].path;
            RaiseEvent(kFavEventOpen, static_cast<int>(wParam), path);
        }
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool FavBar::RaiseEvent(int event, int index, const std::wstring& path) const {
    // The copy keeps the path alive until the owner returns, should it rebuild
    // or destroy this bar meanwhile.
    return ownerCalls.Call(onEvent, event, index, std::wstring(path));
}

void FavBar::Repaint() {
    if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
}

bool FavBar::ValidIndex(int index) const { return index >= 0 && index < static_cast<int>(items.size()); }

int FavBar::RowHeight() const { return ScaleDip(kFavRowHeightDips, dpi); }

void FavBar::SetFavourites(const std::vector<std::wstring>& paths) {
    // A press or drag under way names an item by its index, which may now be
    // another favourite or none; it ends without an event.
    if (pressedItem >= 0) {
        EndPress();
        if (GetCapture() == hwnd) ReleaseCapture();
    }
    hotItem = -1;
    items.clear();
    for (const std::wstring& path : paths) {
        FavouriteEntry entry = DescribeFavourite(path);
        items.push_back(FavItem{path, std::move(entry.name), entry.iconIndex, 0, RECT{}});
    }
    MeasureItems();
    Layout();
    Repaint();
    NotifyAccessibleEvent(EVENT_OBJECT_REORDER, hwnd, -1);
}

void FavBar::SetDpi(UINT newDpi) {
    // Every size would scale to nothing.
    if (newDpi == 0 || static_cast<int>(newDpi) == dpi) return;
    dpi = static_cast<int>(newDpi);
    MeasureItems();
    Layout();
    Repaint();
}

void FavBar::MeasureItems() {
    for (FavItem& item : items) item.width = FavItemWidth(UiTextWidth(item.name, dpi), dpi);
}

std::vector<int> FavBar::ItemWidths() const {
    std::vector<int> widths;
    widths.reserve(items.size());
    for (const FavItem& item : items) widths.push_back(item.width);
    return widths;
}

std::vector<RECT> FavBar::ItemRects() const {
    std::vector<RECT> rects;
    rects.reserve(items.size());
    for (const FavItem& item : items) rects.push_back(item.rect);
    return rects;
}

void FavBar::Layout() {
    if (!hwnd) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    const FavBarLayout layout = LayOutFavBar(client, dpi, ItemWidths());
    for (size_t i = 0; i < items.size(); ++i) items[i].rect = layout.itemRects[i];
}

int FavBar::HeightForWidth(int width) const {
    if (!hwnd || items.empty()) return RowHeight();
    if (width <= 0) {
        RECT client{};
        GetClientRect(hwnd, &client);
        width = client.right - client.left;
    }
    return FavBarHeight(width, dpi, ItemWidths());
}

int FavBar::InsertionIndexAt(POINT screenPoint) const {
    if (!hwnd) return static_cast<int>(items.size());
    ScreenToClient(hwnd, &screenPoint);
    return InsertionIndexAtPoint(ItemRects(), screenPoint);
}

void FavBar::Paint(HDC target) {
    RECT client{};
    GetClientRect(hwnd, &client);
    PaintBuffered(target, client, [&](HDC dc) { PaintContent(dc, client); });
}

void FavBar::PaintContent(HDC dc, const RECT& client) {
    FillInk(dc, client, ChromeInk::Face);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, InkColour(ChromeInk::BarText));
    const SelectedObject font(dc, UiFont(dpi));
    if (starIcon) {
        const RECT star = FavStarRect(dpi);
        DrawIconEx(dc, star.left, star.top, starIcon.get(), star.right - star.left, star.bottom - star.top, 0, nullptr,
                   DI_NORMAL);
    }
    for (int i = 0; i < static_cast<int>(items.size()); ++i) PaintItem(dc, i);
    if (dragging && insertIndex >= 0) {
        if (const std::optional<RECT> bar = FavInsertionBarRect(ItemRects(), insertIndex, dpi)) {
            FillInk(dc, *bar, ChromeInk::Accent);
        }
    }
}

void FavBar::PaintItem(HDC dc, int index) {
    const FavItem& item = items[static_cast<size_t>(index)];
    if (index == hotItem) {
        // In high contrast framed rather than filled: the name keeps the colour it stands out in.
        if (HighContrastOn()) {
            FrameInk(dc, item.rect, ChromeInk::Accent);
        } else {
            FillInk(dc, item.rect, ChromeInk::HotFace);
        }
    }
    if (item.iconIndex >= 0) {
        const POINT origin = FavIconOrigin(item.rect, dpi);
        ImageList_Draw(SmallSystemImageList(), item.iconIndex, dc, origin.x, origin.y, ILD_TRANSPARENT);
    }
    RECT name = FavNameRect(item.rect, dpi);
    DrawTextW(dc, item.name.c_str(), static_cast<int>(item.name.size()), &name,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

LONG FavBar::AccessibleRole() const { return ROLE_SYSTEM_TOOLBAR; }

std::wstring FavBar::AccessibleName() const { return kBarName; }

int FavBar::AccessibleChildCount() const { return static_cast<int>(items.size()); }

AccessibleChild FavBar::AccessibleChildAt(int index) const {
    AccessibleChild child;
    if (!ValidIndex(index)) return child;
    const FavItem& item = items[static_cast<size_t>(index)];
    child.role = ROLE_SYSTEM_PUSHBUTTON;
    child.name = item.name;
    child.description = item.path;
    child.defaultAction = kOpenAction;
    if (index == hotItem) child.state |= STATE_SYSTEM_HOTTRACKED;
    child.bounds = item.rect;
    return child;
}

// Opened later, from the bar's own message: the tool that asked waits for the answer.
bool FavBar::AccessibleDoDefaultAction(int index) {
    return ValidIndex(index) && PostMessageW(hwnd, kAccessibleOpenMessage, static_cast<WPARAM>(index), 0) != FALSE;
}
