#include "tabstrip/tab_strip.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/fonts.h"
#include "ui/paint_context.h"
#include "ui/palette.h"
#include "ui/shell_icons.h"
#include "ui/tab_colours.h"

namespace {

constexpr int kSpinnerPenWidth = 2;
// In high contrast what is hot or pressed is framed in the highlight colour
// rather than filled, so that glyphs and text keep the colour they stand out in.
constexpr int kHighContrastFrame = 2;
constexpr int kAccentBarHeight = 2;
constexpr wchar_t kCloseMark[] = L"×";

void HighlightFrame(HDC dc, const RECT& rect) {
    RECT frame = rect;
    for (int i = 0; i < kHighContrastFrame; ++i) {
        FrameInk(dc, frame, ChromeInk::Accent);
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
    FillInk(dc, client, ChromeInk::Face);
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
        FillInk(dc, tab, active ? ChromeInk::Accent : ChromeInk::Face);
        FrameInk(dc, tab, ChromeInk::Outline);
        if (hot && !active) HighlightFrame(dc, tab);
        SetTextColor(dc, InkColour(active ? ChromeInk::SelectedText : ChromeInk::BarText));
    } else {
        FillInk(dc, tab, active ? ChromeInk::Field : hot ? ChromeInk::HotFace : ChromeInk::Face);
        FrameInk(dc, tab, ChromeInk::Outline);
        if (active) {
            FillInk(dc, RECT{tab.left + 1, tab.top + 1, tab.right - 1, tab.top + 1 + kAccentBarHeight},
                    ChromeInk::Accent);
        }
        SetTextColor(dc, InkColour(ChromeInk::BarText));
    }
    // The keyboard's place while the strip has the focus.
    if (index == focusTab && GetFocus() == hwnd) {
        RECT focus = tab;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }

    // A band apart from the title, which keeps the contrast it has on the tab.
    if (const int colour = looks[i].colour; colour > 0) {
        const RECT band = TabColourBand(tab, dpi);
        const UniqueBrush brush(CreateSolidBrush(TabColourInk(colour, CurrentPalette())));
        if (brush) FillRect(dc, &band, brush.get());
        if (HighContrastOn()) FrameInk(dc, band, ChromeInk::Outline);
    }

    const bool pinned = IsPinned(index);
    const bool shortName = pinned && ShowsShortName(index);
    if (loading[i]) {
        PaintSpinner(dc, tab);
    } else if (const int icon = iconIndices[i] >= 0 ? iconIndices[i] : FolderIconIndex(); icon >= 0) {
        const POINT origin = pinned ? PinnedIconOrigin(tab, shortName, dpi) : TabIconOrigin(tab, dpi);
        ImageList_Draw(SmallSystemImageList(), icon, dc, origin.x, origin.y, ILD_TRANSPARENT);
    }

    if (pinned) {
        if (!shortName) return;
        const std::wstring name = PinnedShortName(titles[i]);
        RECT place = PinnedNameRect(tab, dpi);
        DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &place,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        return;
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
            FillInk(dc, rect, ChromeInk::Face);
            if (amongTabs) FrameInk(dc, rect, ChromeInk::Outline);
            if (pressed || hot) HighlightFrame(dc, rect);
        } else {
            if (pressed || hot || !amongTabs) {
                FillInk(dc, rect, pressed ? ChromeInk::PressedFace : hot ? ChromeInk::HotFace : ChromeInk::Face);
            }
            if (amongTabs) FrameInk(dc, rect, ChromeInk::Outline);
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
        FillInk(dc, *bar, ChromeInk::Accent);
    }
}
