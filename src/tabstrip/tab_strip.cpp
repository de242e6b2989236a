#include "tabstrip/tab_strip.h"

#include <commctrl.h>

#include <algorithm>

#include "tabstrip/tab_strip_drop.h"
#include "ui/dark_menu.h"
#include "ui/dark_mode.h"
#include "ui/dpi.h"
#include "ui/fonts.h"
#include "ui/glyph_icon.h"
#include "ui/paint_context.h"
#include "ui/palette.h"
#include "ui/shell_icons.h"

namespace {

constexpr UINT_PTR kSpinnerTimerId = 2;
constexpr UINT kSpinnerPeriodMs = 100;
constexpr int kSpinnerStepDegrees = 30;

constexpr int kGlyphWeight = 900;

constexpr LPARAM kMaxTipWidth = 4096;

UniqueIcon MakeGlyphIcon(wchar_t codePoint, const TabStripButton& button) {
    return UniqueIcon(GlyphIcon(codePoint, button.glyphPx, InkColour(button.ink), kIconFontFace, kGlyphWeight));
}

}  // namespace

// Here, where the drop target's type is complete.
TabStrip::TabStrip() = default;

TabStrip::~TabStrip() { DestroyBoundWindow(hwnd); }

bool TabStrip::Create(HWND parent, int controlId) {
    if (hwnd) return false;
    // Double clicks on the empty strip maximise and restore the window.
    static const bool registered = RegisterChromeClass(kTabStripClass, RouteToObject<TabStrip>, CS_DBLCLKS);
    if (!registered) return false;

    // The parent's monitor may have another scale than the primary one.
    dpi = static_cast<int>(GetDpiForWindow(parent));
    const HWND created = CreateWindowExW(0, kTabStripClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100,
                                         100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                         GetModuleHandleW(nullptr), this);
    if (!created) return false;
    MakeTooltip();
    return true;
}

// Made for the first paint rather than with the window: a start lists its
// folder before anything is drawn, and these are not needed before.
void TabStrip::MakeIcons() {
    // The last button's face is made last and so stands for them all.
    if (buttonIcons.back().face) return;
    for (size_t row = 0; row < kTabStripButtonCount; ++row) {
        const TabStripButton& button = kTabStripButtons[row];
        ButtonIcons& icons = buttonIcons[row];
        icons.face.reset(button.prefersShellFolderIcon ? FolderIconLarge() : nullptr);
        if (!icons.face) icons.face = MakeGlyphIcon(button.face.glyph, button);
        if (button.maximizedFace.glyph) icons.maximizedFace = MakeGlyphIcon(button.maximizedFace.glyph, button);
    }
}

void TabStrip::DropIcons() {
    for (ButtonIcons& icons : buttonIcons) {
        icons.face.reset();
        icons.maximizedFace.reset();
    }
}

// One tool covers the whole strip; the mouse handling moves its rectangle onto
// the tab whose title is cut and gives it that title.
void TabStrip::MakeTooltip() {
    tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!tooltip) return;
    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    if (DarkChrome()) ThemeTooltip(tooltip, true);
    wchar_t noText[] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = hwnd;
    tool.uId = kTitleToolId;
    tool.lpszText = noText;
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT TabStrip::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> answer = AnswerQuery(message, wParam)) return *answer;
    if (const std::optional<LRESULT> handled = HandleInput(message, wParam, lParam)) return *handled;
    if (const std::optional<LRESULT> item = AnswerMenuItemDrawing(message, wParam, lParam, dpi)) return *item;
    if (const std::optional<LRESULT> drawn =
            AnswerDrawnWindowMessage(hwnd, message, wParam, [this](HDC dc) { Paint(dc); })) {
        return *drawn;
    }
    switch (message) {
    case WM_SIZE:
        Layout();
        Repaint();
        return 0;
    case WM_TIMER:
        if (wParam == kSpinnerTimerId) {
            OnSpinnerTick();
            return 0;
        }
        if (wParam == kDropHoverTimerId && fileDrop) {
            fileDrop->OnHoverTimer();
            return 0;
        }
        break;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer = accessible.AnswerGetObject(hwnd, *this, wParam, lParam)) {
            return *answer;
        }
        break;
    case kAccessibleActionMessage:
        RunAccessibleAction(wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::optional<LRESULT> TabStrip::AnswerQuery(UINT message, WPARAM wParam) {
    switch (message) {
    case kTabStripCountMessage:
        return static_cast<LRESULT>(titles.size());
    case kTabStripActiveMessage:
        return activeIndex;
    case kTabStripSelectMessage:
    case kTabStripCloseMessage:
        if (wParam < titles.size()) {
            RaiseEvent(message == kTabStripSelectMessage ? kTabEventActivate : kTabEventClose,
                       static_cast<int>(wParam));
        }
        return 0;
    default:
        for (const TabStripButton& button : kTabStripButtons) {
            if (message == button.leftEdgeQuery) return (layout.*button.rect).left;
        }
        return std::nullopt;
    }
}

void TabStrip::OnDestroy() {
    accessible.Disconnect(hwnd);
    StopFileDrops();
    if (spinnerTimerRunning) KillTimer(hwnd, kSpinnerTimerId);
    spinnerTimerRunning = false;
    spinnerAngle = 0;
    ghost.Destroy();
    favList.Close();
    // The tooltip belongs to the top-level window, which may outlive the strip.
    if (tooltip) DestroyWindow(tooltip);
    tooltip = nullptr;
    DropIcons();
}

void TabStrip::OnColoursChanged() {
    // Made again in the theme's colours at the next paint.
    DropIcons();
    ThemeTooltip(tooltip, DarkChrome());
    Repaint();
}

void TabStrip::Repaint() {
    if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
}

// The window's text is the active tab's title, so that screen readers and other
// programs can tell which folder the window shows.
void TabStrip::NameActiveTab() {
    if (hwnd) SetWindowTextW(hwnd, ValidIndex(activeIndex) ? titles[static_cast<size_t>(activeIndex)].c_str() : L"");
}

bool TabStrip::ValidIndex(int index) const { return index >= 0 && index < static_cast<int>(titles.size()); }

bool TabStrip::IsPinned(int index) const {
    return index >= 0 && index < static_cast<int>(looks.size()) && looks[static_cast<size_t>(index)].pinned;
}

int TabStrip::PinnedCount() const {
    int count = 0;
    while (IsPinned(count)) ++count;
    return count;
}

bool TabStrip::ShowsShortName(int index) const { return PinnedIconIsAmbiguous(iconIndices, PinnedCount(), index); }

void TabStrip::SetTabs(const std::vector<std::wstring>& newTitles, int newActiveIndex,
                       const std::vector<int>& newIconIndices, const std::vector<TabLook>& newLooks) {
    titles = newTitles;
    looks = newLooks.size() == newTitles.size() ? newLooks : std::vector<TabLook>(newTitles.size());
    titleWidths.clear();
    loading.assign(titles.size(), false);
    if (newIconIndices.size() == titles.size()) {
        iconIndices = newIconIndices;
    } else {
        iconIndices.assign(titles.size(), -1);
    }
    const bool activeChanged = newActiveIndex != activeIndex;
    activeIndex = newActiveIndex;
    if (!ValidIndex(focusTab)) focusTab = activeIndex;
    NameActiveTab();
    UpdateSpinnerTimer();
    Layout();
    Repaint();
    NotifyAccessibleEvent(EVENT_OBJECT_REORDER, hwnd, -1);
    if (activeChanged) AnnounceActiveTab();
}

void TabStrip::SetActive(int index) {
    if (!ValidIndex(index) || index == activeIndex) return;
    activeIndex = index;
    NameActiveTab();
    Repaint();
    AnnounceActiveTab();
}

void TabStrip::SetTitle(int index, const std::wstring& title) {
    if (!ValidIndex(index)) return;
    titles[static_cast<size_t>(index)] = title;
    if (titleWidths.size() == titles.size()) titleWidths[static_cast<size_t>(index)] = TitleWidth(title);
    if (index == activeIndex) NameActiveTab();
    Layout();
    Repaint();
    NotifyAccessibleEvent(EVENT_OBJECT_NAMECHANGE, hwnd, index);
}

void TabStrip::SetIcon(int index, int iconIndex) {
    if (!ValidIndex(index)) return;
    iconIndices[static_cast<size_t>(index)] = iconIndex;
    // A pinned tab's width follows whether another pinned tab shares its icon.
    if (IsPinned(index)) Layout();
    Repaint();
}

void TabStrip::SetLoading(int index, bool busy) {
    if (!ValidIndex(index) || loading[static_cast<size_t>(index)] == busy) return;
    loading[static_cast<size_t>(index)] = busy;
    UpdateSpinnerTimer();
    Repaint();
}

void TabStrip::ClearLoading() {
    if (std::find(loading.begin(), loading.end(), true) == loading.end()) return;
    loading.assign(loading.size(), false);
    UpdateSpinnerTimer();
    Repaint();
}

void TabStrip::SetDpi(UINT newDpi) {
    // Every size would scale to nothing.
    if (newDpi == 0) return;
    dpi = static_cast<int>(newDpi);
    Layout();
    Repaint();
}

void TabStrip::UpdateSpinnerTimer() {
    const bool busy = std::find(loading.begin(), loading.end(), true) != loading.end();
    if (busy) {
        if (!spinnerTimerRunning && hwnd) {
            spinnerTimerRunning = SetTimer(hwnd, kSpinnerTimerId, kSpinnerPeriodMs, nullptr) != 0;
        }
        return;
    }
    if (spinnerTimerRunning) KillTimer(hwnd, kSpinnerTimerId);
    spinnerTimerRunning = false;
    // The next busy tab starts its spinner from the beginning.
    spinnerAngle = 0;
}

void TabStrip::OnSpinnerTick() {
    spinnerAngle = (spinnerAngle + kSpinnerStepDegrees) % 360;
    const size_t count = std::min(loading.size(), layout.tabRects.size());
    for (size_t i = 0; i < count; ++i) {
        if (loading[i]) InvalidateRect(hwnd, &layout.tabRects[i], FALSE);
    }
}

std::optional<int> TabStrip::TitleWidth(const std::wstring& title) const {
    return hwnd ? UiTextWidth(title, dpi) : std::nullopt;
}

// Measured again only when the titles, the scale or the window change: every
// layout and every height asked for needs them, and a long strip has many.
std::vector<int> TabStrip::TabWidths() const {
    const bool canMeasure = hwnd != nullptr;
    if (titleWidths.size() != titles.size() || measuredDpi != dpi || measuredInWindow != canMeasure) {
        titleWidths = canMeasure ? UiTextWidths(titles, dpi) : std::vector<std::optional<int>>(titles.size());
        measuredDpi = dpi;
        measuredInWindow = canMeasure;
    }
    std::vector<int> widths;
    widths.reserve(titleWidths.size());
    const int pinnedCount = PinnedCount();
    for (size_t i = 0; i < titleWidths.size(); ++i) {
        const int index = static_cast<int>(i);
        if (index >= pinnedCount) {
            widths.push_back(TabWidth(titleWidths[i], dpi));
        } else if (ShowsShortName(index)) {
            const std::optional<int> shortWidth = canMeasure ? TitleWidth(PinnedShortName(titles[i])) : std::nullopt;
            widths.push_back(PinnedTabWidth(shortWidth.value_or(0), dpi));
        } else {
            widths.push_back(PinnedTabWidth(std::nullopt, dpi));
        }
    }
    return widths;
}

void TabStrip::Layout() {
    if (!hwnd) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    layout = LayOutTabStrip(client, dpi, TabWidths(), PinnedCount());
}

int TabStrip::HeightForWidth(int width) const {
    if (width <= 0) {
        if (!hwnd) return ScaleDip(kTabRowHeightDips, dpi);
        RECT client{};
        GetClientRect(hwnd, &client);
        width = client.right - client.left;
    }
    return TabStripHeight(width, dpi, TabWidths());
}

int TabStrip::InsertionIndexAt(POINT screenPoint) const {
    if (!hwnd) return static_cast<int>(titles.size());
    ScreenToClient(hwnd, &screenPoint);
    return InsertionIndexAtPoint(layout.tabRects, screenPoint);
}

int TabStrip::TabIndexAt(POINT screenPoint) const {
    if (!hwnd) return static_cast<int>(titles.size());
    ScreenToClient(hwnd, &screenPoint);
    return TabIndexAtPoint(layout.tabRects, screenPoint);
}
