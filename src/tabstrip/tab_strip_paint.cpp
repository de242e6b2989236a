#include "tabstrip/tab_strip.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/fonts.h"
#include "ui/high_contrast.h"
#include "ui/paint_context.h"
#include "ui/shell_icons.h"

namespace {

constexpr int kSpinnerPenWidth = 2;
// In high contrast what is hot or pressed is framed in the highlight colour
// rather than filled, so that glyphs and text keep the colour they stand out in.
constexpr int kHighContrastFrame = 2;
constexpr int kAccentBarHeight = 2;
constexpr wchar_t kCloseMark[] = L"×";

void Fill(HDC dc, const RECT& rect, int systemColour) { FillRect(dc, &rect, GetSysColorBrush(systemColour)); }

void Outline(HDC dc, const RECT& rect, bool highContrast) {
    FrameRect(dc, &rect, GetSysColorBrush(highContrast ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
}

void HighlightFrame(HDC dc, const RECT& rect) {
    RECT frame = rect;
    for (int i = 0; i < kHighContrastFrame; ++i) {
        FrameRect(dc, &frame, GetSysColorBrush(COLOR_HIGHLIGHT));
        InflateRect(&frame, -1, -1);
    }
}

void DrawArc(HDC dc, const RECT& bounds, POINT from, POINT to, COLORREF colour) {
    UniquePen pen(CreatePen(PS_SOLID, kSpinnerPenWidth, colour));
    if (!pen) return;
    const SelectedObject selected(dc, pen.get());
    Arc(dc, bounds.left, bounds.top, bounds.right, bounds.bottom, from.x, from.y, to.x, to.y);
}

}  // namespace

void TabStrip::Paint(HDC target) {
    MakeIcons();
    // Offered once the strip is seen: registering costs a start its time, and
    // nothing can be dragged onto the strip before.
    if (!fileDropsOffered) {
        fileDropsOffered = true;
        AcceptFileDrops();
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    PaintBuffered(target, client, [&](HDC dc) { PaintContent(dc, client); });
}

void TabStrip::PaintContent(HDC dc, const RECT& client) {
    Fill(dc, client, COLOR_BTNFACE);
    SetBkMode(dc, TRANSPARENT);
    const SelectedObject font(dc, UiFont(dpi));
    const int count = static_cast<int>(std::min(titles.size(), layout.tabRects.size()));
    for (int i = 0; i < count; ++i) PaintTab(dc, i);
    PaintButtons(dc);
    PaintInsertionBar(dc);
}

void TabStrip::PaintTab(HDC dc, int index) {
    const size_t i = static_cast<size_t>(index);
    const RECT& tab = layout.tabRects[i];
    const bool active = index == activeIndex;
    const bool hot = index == hotTab;
    if (HighContrastOn()) {
        // Only system colours: the active tab in the selection's, the hot one framed.
        Fill(dc, tab, active ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        Outline(dc, tab, true);
        if (hot && !active) HighlightFrame(dc, tab);
        SetTextColor(dc, InkColour(active ? ChromeInk::SelectedText : ChromeInk::BarText, true));
    } else {
        Fill(dc, tab, active ? COLOR_WINDOW : hot ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE);
        Outline(dc, tab, false);
        if (active) {
            Fill(dc, RECT{tab.left + 1, tab.top + 1, tab.right - 1, tab.top + 1 + kAccentBarHeight}, COLOR_HIGHLIGHT);
        }
        SetTextColor(dc, InkColour(ChromeInk::BarText, false));
    }
    // The keyboard's place while the strip has the focus.
    if (index == focusTab && GetFocus() == hwnd) {
        RECT focus = tab;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }

    if (loading[i]) {
        PaintSpinner(dc, tab);
    } else if (const int icon = iconIndices[i] >= 0 ? iconIndices[i] : FolderIconIndex(); icon >= 0) {
        const POINT origin = TabIconOrigin(tab, dpi);
        ImageList_Draw(SmallSystemImageList(), icon, dc, origin.x, origin.y, ILD_TRANSPARENT);
    }

    RECT title = TabTitleRect(tab, dpi);
    DrawTextW(dc, titles[i].c_str(), static_cast<int>(titles[i].size()), &title,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    RECT closeMark = TabCloseMarkRect(tab, dpi);
    DrawTextW(dc, kCloseMark, -1, &closeMark, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
}

void TabStrip::PaintSpinner(HDC dc, const RECT& tab) {
    const SpinnerArcs arcs = SpinnerGeometry(tab, dpi, spinnerAngle);
    SetArcDirection(dc, AD_COUNTERCLOCKWISE);
    DrawArc(dc, arcs.bounds, arcs.start, arcs.middle, InkColour(ChromeInk::SpinnerLead));
    DrawArc(dc, arcs.bounds, arcs.middle, arcs.end, InkColour(ChromeInk::SpinnerTrail));
}

void TabStrip::PaintButtons(HDC dc) {
    const bool highContrast = HighContrastOn();
    const bool maximized = IsZoomed(TopLevel()) != FALSE;
    for (size_t row = 0; row < kTabStripButtonCount; ++row) {
        const TabStripButton& button = kTabStripButtons[row];
        const RECT& rect = layout.*button.rect;
        const bool pressed = pressedButton == button.hitCode;
        const bool hot = hotButton == button.hitCode;
        const bool amongTabs = button.shape == ButtonShape::AmongTabs;
        if (highContrast) {
            Fill(dc, rect, COLOR_BTNFACE);
            if (amongTabs) Outline(dc, rect, true);
            if (pressed || hot) HighlightFrame(dc, rect);
        } else {
            if (pressed || hot || !amongTabs) {
                Fill(dc, rect, pressed ? COLOR_BTNSHADOW : hot ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE);
            }
            if (amongTabs) Outline(dc, rect, false);
        }
        if (HICON icon = ButtonIcon(row, maximized)) {
            const RECT place = ButtonIconRect(rect, button.iconDips, pressed, dpi);
            DrawIconEx(dc, place.left, place.top, icon, place.right - place.left, place.bottom - place.top, 0, nullptr,
                       DI_NORMAL);
        }
    }
}

HICON TabStrip::ButtonIcon(size_t row, bool windowMaximized) const {
    const ButtonIcons& icons = buttonIcons[row];
    return ShowsMaximizedFace(kTabStripButtons[row], windowMaximized) ? icons.maximizedFace.get() : icons.face.get();
}

void TabStrip::PaintInsertionBar(HDC dc) {
    if (!dragging) return;
    if (const std::optional<RECT> bar = InsertionBarRect(layout.tabRects, insertIndex, dpi)) {
        Fill(dc, *bar, COLOR_HIGHLIGHT);
    }
}
