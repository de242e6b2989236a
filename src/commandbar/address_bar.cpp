#include "commandbar/command_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "commandbar/command_ids.h"
#include "ui/app_identity.h"
#include "ui/dark_mode.h"
#include "ui/dpi.h"
#include "ui/fonts.h"
#include "ui/labelled_accessible.h"
#include "ui/mouse_tracking.h"
#include "ui/paint_context.h"
#include "ui/palette.h"
#include "ui/resize_band.h"
#include "ui/shell_items.h"
#include "ui/window_class.h"

namespace {

constexpr int kSeparatorInsetDips = 3;

std::wstring ShellDisplayName(const std::wstring& parsingName) {
    ComPtr<IShellItem> item;
    if (FAILED(ItemFromPath(parsingName, item.put()))) return {};
    return DisplayName(item.get());
}

// Edges count as inside, unlike PtInRect.
bool InRectOrOnEdge(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

}  // namespace

void CommandBar::SetPath(const std::wstring& path) {
    const bool changed = path != currentPath;
    currentPath = path;
    // Setting an edit's text is slow the first time; an unchanged one is left be.
    if (addressEdit && ReadWindowText(addressEdit) != path) SetWindowTextW(addressEdit, path.c_str());
    LeaveEditMode();
    // Split here rather than at every layout: a namespace path asks the shell
    // for its name, which a resize should not repeat.
    segments = SplitAddress(currentPath, ShellDisplayName);
    LayOutSegmentRects();
    InvalidateAddressArea();
    if (changed) {
        NotifyAccessibleEvent(EVENT_OBJECT_VALUECHANGE, hwnd, kAddressChild);
        NotifyAccessibleEvent(EVENT_OBJECT_REORDER, hwnd, kAddressChild);
    }
}

void CommandBar::LeaveEditMode() {
    if (!editing || !addressEdit) return;
    // Cleared first: hiding the focused edit takes its focus, and the focus loss
    // comes back here.
    editing = false;
    SetWindowTextW(addressEdit, currentPath.c_str());
    ShowWindow(addressEdit, SW_HIDE);
    InvalidateAddressArea();
}

void CommandBar::EnterEditMode() {
    if (!addressEdit) return;
    editing = true;
    SetWindowTextW(addressEdit, currentPath.c_str());
    ShowWindow(addressEdit, SW_SHOW);
    SetFocus(addressEdit);
    SendMessageW(addressEdit, EM_SETSEL, 0, -1);
    InvalidateAddressArea();
}

void CommandBar::EditAddress() {
    // Text typed already is kept, only selected again.
    if (!editing) {
        EnterEditMode();
        return;
    }
    SetFocus(addressEdit);
    SendMessageW(addressEdit, EM_SETSEL, 0, -1);
}

void CommandBar::InvalidateAddressArea() const {
    if (hwnd) InvalidateRect(hwnd, &addressRect, FALSE);
}

void CommandBar::LayOutSegmentRects() {
    segmentRects.clear();
    hoverSegment = -1;
    if (!segments.empty() && !IsRectEmpty(&addressRect)) {
        segmentRects = LayOutSegments(addressRect, SegmentTextWidths(), dpi);
    }
    AskForHeightIfChanged();
}

std::vector<int> CommandBar::SegmentTextWidths() const {
    std::vector<int> widths;
    widths.reserve(segments.size());
    for (const AddressSegment& segment : segments) widths.push_back(UiTextWidth(segment.text, dpi).value_or(0));
    return widths;
}

void CommandBar::AskForHeightIfChanged() const {
    if (!hwnd) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    if (DesiredHeight(client.right) != client.bottom) PostMessageW(GetParent(hwnd), WM_APP_RELAYOUT, 0, 0);
}

void CommandBar::Paint(HDC target) const {
    RECT client{};
    GetClientRect(hwnd, &client);
    PaintBuffered(target, client, [&](HDC dc) { PaintContent(dc, client); });
}

void CommandBar::PaintContent(HDC dc, const RECT& client) const {
    FillInk(dc, client, ChromeInk::Face);
    if (!IsRectEmpty(&addressRect)) FillInk(dc, addressRect, ChromeInk::Field);
    // The edit covers the segments while it is open.
    if (editing || segmentRects.empty()) return;

    const bool highContrast = HighContrastOn();
    const SelectedObject font(dc, UiFont(dpi));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, InkColour(ChromeInk::AddressText));
    UniquePen separatorPen(CreatePen(PS_SOLID, 1, InkColour(ChromeInk::AddressSeparator)));
    const SelectedObject pen(dc, separatorPen.get());
    const int inset = ScaleDip(kSeparatorInsetDips, dpi);
    const size_t count = std::min(segments.size(), segmentRects.size());
    for (size_t i = 0; i < count; ++i) {
        const RECT& rect = segmentRects[i];
        if (IsRectEmpty(&rect)) continue;
        if (static_cast<int>(i) == hoverSegment) {
            RECT hot = rect;
            InflateRect(&hot, -1, -1);
            // In high contrast the hovered segment is framed: its text keeps the window's colours.
            if (highContrast) {
                FrameInk(dc, hot, ChromeInk::Accent);
            } else {
                FillInk(dc, hot, ChromeInk::Face);
            }
        }
        RECT text = rect;
        DrawTextW(dc, segments[i].text.c_str(), static_cast<int>(segments[i].text.size()), &text,
                  DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (i + 1 >= count) continue;
        const RECT& next = segmentRects[i + 1];
        if (IsRectEmpty(&next) || next.top != rect.top) continue;
        const int x = (rect.right + next.left) / 2;
        MoveToEx(dc, x, rect.top + inset, nullptr);
        LineTo(dc, x, rect.bottom - inset);
    }
}

int CommandBar::SegmentAt(POINT client) const {
    for (size_t i = 0; i < segmentRects.size(); ++i) {
        const RECT& rect = segmentRects[i];
        if (rect.left < rect.right && PtInRect(&rect, client)) return static_cast<int>(i);
    }
    return -1;
}

bool CommandBar::InBarResizeBand(POINT client) const {
    POINT screen = client;
    ClientToScreen(hwnd, &screen);
    return InResizeBand(hwnd, screen);
}

void CommandBar::OnMouseMove(POINT client) {
    // The frame's resize band belongs to the main window; a segment there is not hovered.
    if (InBarResizeBand(client)) {
        OnMouseLeave();
        return;
    }
    const int segment = SegmentAt(client);
    if (segment != hoverSegment) {
        hoverSegment = segment;
        InvalidateAddressArea();
    }
    RequestMouseLeave(hwnd);
}

void CommandBar::OnMouseLeave() {
    if (hoverSegment == -1) return;
    hoverSegment = -1;
    InvalidateAddressArea();
}

void CommandBar::OnLeftButtonDown(POINT client) {
    if (InBarResizeBand(client) || !InRectOrOnEdge(addressRect, client)) return;
    if (OpenSegment(SegmentAt(client))) return;
    if (!editing) EnterEditMode();
}

bool CommandBar::OpenSegment(int segment) {
    if (segment < 0 || segment >= static_cast<int>(segments.size())) return false;
    const std::wstring& target = segments[static_cast<size_t>(segment)].target;
    if (target.empty()) return false;
    if (addressEdit) SetWindowTextW(addressEdit, target.c_str());
    RaiseCommand(kCommandOpenAddressSegment);
    return true;
}

void CommandBar::OnMiddleButtonDown(POINT client) {
    if (InBarResizeBand(client) || editing || !onOpenInBackgroundTab) return;
    const int segment = SegmentAt(client);
    if (segment < 0) return;
    // A copy: the owner's tab change may lay the segments out anew.
    const std::wstring target = segments[static_cast<size_t>(segment)].target;
    if (!target.empty()) onOpenInBackgroundTab(target);
}

LRESULT CALLBACK CommandBar::AddressEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR barData) {
    auto* bar = reinterpret_cast<CommandBar*>(barData);
    switch (message) {
    case WM_NCPAINT:
        if (PaintDarkFieldEdge(edit)) return 0;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            bar->RaiseCommand(kCommandOpenTypedAddress);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            bar->LeaveEditMode();
            return 0;
        }
        break;
    case WM_CHAR:
        // A single-line edit beeps at these characters; their keys were handled above.
        if (wParam == L'\r' || wParam == VK_ESCAPE) return 0;
        break;
    case WM_KILLFOCUS:
        bar->LeaveEditMode();
        break;
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer = AnswerLabelledGetObject(edit, kAddressName, wParam, lParam)) {
            return *answer;
        }
        break;
    case WM_NCDESTROY:
        ForgetStandardControlName(edit);
        RemoveWindowSubclass(edit, AddressEditProc, kControlSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}
