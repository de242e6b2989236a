#include "ui/dark_menu.h"

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "ui/dark_mode.h"
#include "ui/dpi.h"
#include "ui/fonts.h"
#include "ui/handles.h"
#include "ui/paint_context.h"
#include "ui/palette.h"

namespace {

constexpr int kGutterDips = 28;       // where a check mark goes
constexpr int kRightPaddingDips = 24;
constexpr int kItemHeightDips = 24;
constexpr int kSeparatorHeightDips = 7;
constexpr int kMarkDips = 10;

struct MenuItem {
    std::wstring text;
    HMENU menu = nullptr;  // the menu or submenu it stands in
    UINT position = 0;
    wchar_t accessKey = 0;  // lower case; 0 for none
    bool separator = false;
    bool radio = false;
};

// The letter after the first lone "&", as the system takes it.
wchar_t AccessKeyOf(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return static_cast<wchar_t>(towlower(text[i + 1]));
        ++i;  // "&&" stands for "&"
    }
    return 0;
}

// The menu prepared last, with its submenus. Its items' addresses are their
// data, which is how they are told from items of menus drawn by anyone else;
// its background stays with it, whatever the palette does while the menu is open.
struct PreparedMenu {
    std::vector<HMENU> menus;
    std::vector<std::unique_ptr<MenuItem>> items;
    UniqueBrush background;
};

PreparedMenu& Prepared() {
    static PreparedMenu menu;
    return menu;
}

const MenuItem* PreparedItem(ULONG_PTR data) {
    for (const std::unique_ptr<MenuItem>& item : Prepared().items) {
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    }
    return nullptr;
}

void DrawCheckMark(HDC dc, const RECT& gutter, bool radio, COLORREF colour, int dpi) {
    const int size = ScaleDip(kMarkDips, dpi);
    const int left = gutter.left + (gutter.right - gutter.left - size) / 2;
    const int top = gutter.top + (gutter.bottom - gutter.top - size) / 2;
    if (radio) {
        const UniqueBrush brush(CreateSolidBrush(colour));
        const UniquePen pen(CreatePen(PS_SOLID, 1, colour));
        const SelectedObject selectedBrush(dc, brush.get());
        const SelectedObject selectedPen(dc, pen.get());
        const int inset = size / 4;
        Ellipse(dc, left + inset, top + inset, left + size - inset, top + size - inset);
        return;
    }
    const UniquePen pen(CreatePen(PS_SOLID, std::max(1, ScaleDip(2, dpi)), colour));
    const SelectedObject selected(dc, pen.get());
    MoveToEx(dc, left, top + size / 2, nullptr);
    LineTo(dc, left + size / 3, top + size - size / 5);
    LineTo(dc, left + size, top + size / 6);
}

LRESULT Measure(MEASUREITEMSTRUCT& measure, const MenuItem& item, int dpi) {
    if (item.separator) {
        measure.itemWidth = 0;
        measure.itemHeight = static_cast<UINT>(ScaleDip(kSeparatorHeightDips, dpi));
        return TRUE;
    }
    RECT text{};
    if (const WindowDc screen(nullptr); screen.Dc()) {
        const SelectedObject font(screen.Dc(), UiFont(dpi));
        DrawTextW(screen.Dc(), item.text.c_str(), static_cast<int>(item.text.size()), &text,
                  DT_SINGLELINE | DT_CALCRECT);
    }
    measure.itemWidth = static_cast<UINT>(ScaleDip(kGutterDips + kRightPaddingDips, dpi) + text.right);
    measure.itemHeight = static_cast<UINT>(std::max<LONG>(ScaleDip(kItemHeightDips, dpi), text.bottom));
    return TRUE;
}

LRESULT Draw(const DRAWITEMSTRUCT& draw, const MenuItem& item, int dpi) {
    const HDC dc = draw.hDC;
    const RECT& rect = draw.rcItem;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const bool disabled = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    FillInk(dc, rect, selected && !disabled ? ChromeInk::HotFace : ChromeInk::Face);
    if (item.separator) {
        const int middle = (rect.top + rect.bottom) / 2;
        FillInk(dc, RECT{rect.left + ScaleDip(kGutterDips, dpi), middle, rect.right, middle + 1}, ChromeInk::Outline);
        return TRUE;
    }
    const COLORREF ink = InkColour(disabled ? ChromeInk::DisabledGlyph : ChromeInk::BarText);
    if ((draw.itemState & ODS_CHECKED) != 0) {
        DrawCheckMark(dc, RECT{rect.left, rect.top, rect.left + ScaleDip(kGutterDips, dpi), rect.bottom}, item.radio,
                      ink, dpi);
    }
    const SelectedObject font(dc, UiFont(dpi));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    RECT text{rect.left + ScaleDip(kGutterDips, dpi), rect.top, rect.right, rect.bottom};
    // The access key is underlined once the keyboard is in use, as the system does.
    const UINT prefix = (draw.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | prefix);
    return TRUE;
}

// A submenu is prepared with its menu, since the system draws it as its own.
void PrepareMenu(PreparedMenu& prepared, HMENU menu) {
    prepared.menus.push_back(menu);
    MENUINFO background{};
    background.cbSize = sizeof(background);
    background.fMask = MIM_BACKGROUND;
    background.hbrBack = prepared.background.get();
    SetMenuInfo(menu, &background);
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = static_cast<UINT>(std::size(text));
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) continue;
        if (info.hSubMenu) PrepareMenu(prepared, info.hSubMenu);
        auto item = std::make_unique<MenuItem>();
        item->text = text;
        item->menu = menu;
        item->position = static_cast<UINT>(position);
        item->accessKey = AccessKeyOf(item->text);
        item->separator = (info.fType & MFT_SEPARATOR) != 0;
        item->radio = (info.fType & MFT_RADIOCHECK) != 0;
        // The type only: the text stays with the item.
        MENUITEMINFOW drawn{};
        drawn.cbSize = sizeof(drawn);
        drawn.fMask = MIIM_FTYPE | MIIM_DATA;
        drawn.fType = info.fType | MFT_OWNERDRAW;
        drawn.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        if (SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &drawn)) {
            prepared.items.push_back(std::move(item));
        }
    }
}

}  // namespace

void DrawMenuInPalette(HMENU menu) {
    PreparedMenu& prepared = Prepared();
    prepared.items.clear();
    prepared.menus.clear();
    if (!menu || !DarkChrome() || SystemDrawsDarkMenus()) return;
    prepared.background.reset(CreateSolidBrush(InkColour(ChromeInk::Face)));
    PrepareMenu(prepared, menu);
}

std::optional<LRESULT> AnswerMenuItemDrawing(UINT message, WPARAM wParam, LPARAM lParam, int dpi) {
    if (message == WM_MENUCHAR) {
        // The system leaves an owner-drawn item's access key to its owner.
        const PreparedMenu& prepared = Prepared();
        const auto menu = reinterpret_cast<HMENU>(lParam);
        if (std::find(prepared.menus.begin(), prepared.menus.end(), menu) == prepared.menus.end()) return std::nullopt;
        const auto key = static_cast<wchar_t>(towlower(static_cast<wint_t>(LOWORD(wParam))));
        for (const std::unique_ptr<MenuItem>& item : prepared.items) {
            if (item->menu == menu && item->accessKey == key) return MAKELRESULT(item->position, MNC_EXECUTE);
        }
    } else if (message == WM_MEASUREITEM) {
        auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        const MenuItem* item = measure.CtlType == ODT_MENU ? PreparedItem(measure.itemData) : nullptr;
        if (item) return Measure(measure, *item, dpi);
    } else if (message == WM_DRAWITEM) {
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const MenuItem* item = draw.CtlType == ODT_MENU ? PreparedItem(draw.itemData) : nullptr;
        if (item) return Draw(draw, *item, dpi);
    }
    return std::nullopt;
}
