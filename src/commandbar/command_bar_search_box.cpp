#include "commandbar/command_bar.h"

#include <commctrl.h>
#include <windowsx.h>

#include "ui/dark_mode.h"
#include "ui/dpi.h"
#include "ui/fonts.h"
#include "ui/glyph_icon.h"
#include "ui/labelled_accessible.h"
#include "ui/mouse_tracking.h"
#include "ui/paint_context.h"
#include "ui/palette.h"

namespace {

constexpr int kGlyphWeight = 900;
constexpr int kIconRenderPx = 28;
constexpr int kClearCircleMarginDips = 2;

UniqueIcon SearchBoxIcon(wchar_t codePoint, COLORREF colour) {
    return UniqueIcon(GlyphIcon(codePoint, kIconRenderPx, colour, kIconFontFace, kGlyphWeight));
}

void DrawIconIn(HDC dc, HICON icon, const RECT& rect) {
    DrawIconEx(dc, rect.left, rect.top, icon, rect.right - rect.left, rect.bottom - rect.top, 0, nullptr, DI_NORMAL);
}

// A filled circle behind the clear icon while the mouse is on it.
void DrawClearBackground(HDC dc, const RECT& icon, COLORREF colour, int dpi) {
    UniqueBrush brush(CreateSolidBrush(colour));
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    if (!brush || !pen) return;
    const SelectedObject selectedBrush(dc, brush.get());
    const SelectedObject selectedPen(dc, pen.get());
    const int margin = ScaleDip(kClearCircleMarginDips, dpi);
    const int diameter = 2 * ((icon.right - icon.left) / 2);
    Ellipse(dc, icon.left - margin, icon.top - margin, icon.left + margin + diameter, icon.top + margin + diameter);
}

}  // namespace

void CommandBar::MakeSearchIcons() {
    searchIcon = SearchBoxIcon(glyph::kSearch, InkColour(ChromeInk::SearchGlyph));
    clearIcon = SearchBoxIcon(glyph::kClear, InkColour(ChromeInk::SearchGlyph));
    clearIconHot = SearchBoxIcon(glyph::kClear, InkColour(ChromeInk::HotClearGlyph));
}

LRESULT CALLBACK CommandBar::SearchBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR bar) {
    if (message == WM_NCDESTROY) {
        ForgetStandardControlName(box);
        RemoveWindowSubclass(box, SearchBoxProc, kControlSubclassId);
        return DefSubclassProc(box, message, wParam, lParam);
    }
    if (message == WM_NCPAINT && PaintDarkFieldEdge(box)) return 0;
    return reinterpret_cast<CommandBar*>(bar)->OnSearchBoxMessage(box, message, wParam, lParam);
}

LRESULT CommandBar::OnSearchBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT || message == WM_PRINTCLIENT) MakeIcons();
    switch (message) {
    case WM_PAINT: {
        const LRESULT painted = DefSubclassProc(box, message, wParam, lParam);
        const WindowDc dc(box);
        if (dc.Dc()) PaintSearchBoxExtras(box, dc.Dc());
        return painted;
    }
    case WM_PRINTCLIENT: {
        const LRESULT painted = DefSubclassProc(box, message, wParam, lParam);
        PaintSearchBoxExtras(box, reinterpret_cast<HDC>(wParam));
        return painted;
    }
    case WM_GETOBJECT:
        // The box's text is what was typed; its name is what it is for.
        if (const std::optional<LRESULT> answer = AnswerLabelledGetObject(box, kSearchBoxName, wParam, lParam)) {
            return *answer;
        }
        break;
    case WM_KEYDOWN:
        if (wParam != VK_ESCAPE) break;
        // Emptying the box raises the search command through its change notification.
        if (GetWindowTextLengthW(box) > 0) SetWindowTextW(box, L"");
        return 0;
    case WM_CHAR:
        // The edit would beep at the Escape character.
        if (wParam == VK_ESCAPE) return 0;
        break;
    case WM_MOUSEMOVE: {
        const bool hover = InClearButton(box, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (hover != clearHover) {
            SetClearButtonState(hover, clearPressed);
            if (hover) RequestMouseLeave(box);
        }
        break;
    }
    case WM_MOUSELEAVE:
        SetClearButtonState(false, clearPressed);
        break;
    case WM_LBUTTONDOWN:
        if (!InClearButton(box, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) break;
        SetClearButtonState(clearHover, true);
        SetCapture(box);
        return 0;
    case WM_LBUTTONUP:
        if (!clearPressed) break;
        SetClearButtonState(clearHover, false);
        if (GetCapture() == box) ReleaseCapture();
        SetWindowTextW(box, L"");
        return 0;
    case WM_CAPTURECHANGED:
        if (clearPressed) SetClearButtonState(clearHover, false);
        break;
    default:
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

bool CommandBar::InClearButton(HWND box, POINT client) const {
    if (GetWindowTextLengthW(box) == 0) return false;
    RECT area{};
    GetClientRect(box, &area);
    return InClearZone(PlaceSearchBoxIcons(area, dpi), client.x);
}

void CommandBar::SetClearButtonState(bool hover, bool pressed) {
    clearHover = hover;
    clearPressed = pressed;
    if (searchEdit) InvalidateRect(searchEdit, nullptr, TRUE);
}

void CommandBar::ResetClearButton() { SetClearButtonState(false, false); }

void CommandBar::PaintSearchBoxExtras(HWND box, HDC dc) const {
    RECT client{};
    GetClientRect(box, &client);
    const int saved = SaveDC(dc);
    const bool hasText = GetWindowTextLengthW(box) > 0;
    const SearchBoxIcons icons = PlaceSearchBoxIcons(client, dpi);
    if (!searchPlaceholder.empty() && !hasText) {
        const SelectedObject font(dc, UiFont(dpi));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, InkColour(ChromeInk::Placeholder));
        RECT cue = icons.cue;
        DrawTextW(dc, searchPlaceholder.c_str(), static_cast<int>(searchPlaceholder.size()), &cue,
                  DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (searchIcon) DrawIconIn(dc, searchIcon.get(), icons.searchIcon);
    if (hasText) {
        const bool hot = clearHover || clearPressed;
        if (hot) {
            DrawClearBackground(dc, icons.clearIcon,
                                InkColour(clearPressed ? ChromeInk::PressedClearBackground
                                                       : ChromeInk::HotClearBackground),
                                dpi);
        }
        const HICON clear = hot ? clearIconHot.get() : clearIcon.get();
        if (clear) DrawIconIn(dc, clear, icons.clearIcon);
    }
    RestoreDC(dc, saved);
}
