#include "commandbar/command_bar.h"

#include <commctrl.h>
#include <windowsx.h>

#include "commandbar/command_ids.h"
#include "ui/bar_geometry.h"
#include "ui/dark_mode.h"
#include "ui/dpi.h"
#include "ui/fonts.h"
#include "ui/glyph_icon.h"
#include "ui/labelled_accessible.h"
#include "ui/mouse_tracking.h"
#include "ui/paint_context.h"
#include "ui/palette.h"
#include "ui/resize_band.h"
#include "ui/window_class.h"

namespace {

constexpr int kGlyphWeight = 900;

// The glyphs are rendered at twice the size they are drawn at and scaled down,
// which keeps them sharp at higher DPIs.
struct ButtonGlyph {
    int commandId;
    wchar_t codePoint;
    int renderPx;
    int drawDips;
    const wchar_t* name;  // the window text, never painted: what assistive tools read out
    const wchar_t* tip;   // with the button's keys
};

constexpr ButtonGlyph kButtonGlyphs[kCommandButtonCount] = {
    {kCommandBack, glyph::kBack, 28, 14, L"后退", L"后退 (Alt+←)"},
    {kCommandForward, glyph::kForward, 28, 14, L"前进", L"前进 (Alt+→)"},
    {kCommandUp, glyph::kUp, 28, 14, L"向上", L"向上 (Alt+↑)"},
    {kCommandReopenClosedFolder, glyph::kReopenClosed, 26, 13, L"重新打开关闭的标签页",
     L"重新打开关闭的标签页 (Ctrl+Shift+T)"},
    {kCommandRefresh, glyph::kRefresh, 28, 14, L"刷新", L"刷新 (F5)"},
    {kCommandViewMenu, glyph::kViewOptions, 24, 12, L"查看选项", L"查看选项"},
};

// Sent by a button to the bar when the middle button goes down on it.
constexpr UINT kButtonMiddleClicked = 0x7F00;

constexpr int kSearchLeftMarginDips = 4;
// Room for the clear and search icons at the right of the search box.
constexpr int kSearchRightMarginDips = 39;

}  // namespace

// Destroying the window unbinds it and its controls.
CommandBar::~CommandBar() { DestroyBoundWindow(hwnd); }

bool CommandBar::Create(HWND parent, int controlId) {
    if (hwnd) return false;
    static const bool registered =
        RegisterChromeClass(kCommandBarClass, RouteToObject<CommandBar, &CommandBar::ForgetWindows>, 0);
    if (!registered) return false;

    // The parent's monitor may have another scale than the primary one.
    dpi = static_cast<int>(GetDpiForWindow(parent));
    if (!CreateWindowExW(0, kCommandBarClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100, parent,
                         ControlId(controlId), GetModuleHandleW(nullptr), this)) {
        return false;
    }
    CreateButtons();
    CreateEdits();
    LayOutClientArea();
    BorderCursorSubclass(hwnd);
    return true;
}

void CommandBar::CreateButtons() {
    for (size_t i = 0; i < buttons.size(); ++i) {
        const ButtonGlyph& glyph = kButtonGlyphs[i];
        CommandButton& button = buttons[i];
        button.commandId = glyph.commandId;
        button.drawDips = glyph.drawDips;
        button.hover = false;
        // A new bar has no history to go through yet.
        const bool travel = glyph.commandId == kCommandBack || glyph.commandId == kCommandForward;
        const DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | (travel ? WS_DISABLED : 0);
        button.window = CreateWindowExW(0, L"BUTTON", glyph.name, style, 0, 0, 0, 0, hwnd,
                                        ControlId(glyph.commandId),
                                        GetModuleHandleW(nullptr), nullptr);
        if (button.window) {
            SetWindowSubclass(button.window, ButtonHoverProc, kControlSubclassId, reinterpret_cast<DWORD_PTR>(&button));
        }
    }
}

// Made for the first paint rather than with the window: a start lists its
// folder before anything is drawn, and these are not needed before.
void CommandBar::MakeIcons() {
    if (iconsMade) return;
    iconsMade = true;
    const COLORREF enabled = InkColour(ChromeInk::ButtonGlyph);
    const COLORREF disabled = InkColour(ChromeInk::DisabledGlyph);
    for (size_t i = 0; i < buttons.size(); ++i) {
        const ButtonGlyph& glyph = kButtonGlyphs[i];
        buttons[i].enabledIcon.reset(GlyphIcon(glyph.codePoint, glyph.renderPx, enabled, kIconFontFace, kGlyphWeight));
        buttons[i].disabledIcon.reset(
            GlyphIcon(glyph.codePoint, glyph.renderPx, disabled, kIconFontFace, kGlyphWeight));
    }
    MakeSearchIcons();
    if (!tips) MakeButtonTips();
}

void CommandBar::OnColoursChanged() {
    // Made again in the theme's colours at the next paint.
    iconsMade = false;
    if (!hwnd) return;
    ThemeTooltip(tips, DarkChrome());
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CommandBar::MakeButtonTips() {
    tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (!tips) return;
    if (DarkChrome()) ThemeTooltip(tips, true);
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (!buttons[i].window) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(buttons[i].window);
        tool.lpszText = const_cast<wchar_t*>(kButtonGlyphs[i].tip);
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CommandBar::CreateEdits() {
    addressEdit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 0, 0, hwnd,
                                  ControlId(kCommandOpenTypedAddress), GetModuleHandleW(nullptr), nullptr);
    if (addressEdit) {
        SetWindowTextW(addressEdit, currentPath.c_str());
        SetWindowSubclass(addressEdit, AddressEditProc, kControlSubclassId, reinterpret_cast<DWORD_PTR>(this));
        NameStandardControl(addressEdit, kAddressName);
    }
    searchEdit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_CLIPSIBLINGS | ES_AUTOHSCROLL, 0, 0,
                                 0, 0, hwnd, ControlId(kCommandSearchTextChanged), GetModuleHandleW(nullptr),
                                 nullptr);
    if (searchEdit) {
        SetWindowSubclass(searchEdit, SearchBoxProc, kControlSubclassId, reinterpret_cast<DWORD_PTR>(this));
        NameStandardControl(searchEdit, kSearchBoxName);
    }
    ApplyEditFonts();
}

void CommandBar::ApplyEditFonts() {
    const WPARAM font = reinterpret_cast<WPARAM>(UiFont(dpi));
    if (addressEdit) SendMessageW(addressEdit, WM_SETFONT, font, TRUE);
    if (searchEdit) {
        SendMessageW(searchEdit, WM_SETFONT, font, TRUE);
        SendMessageW(searchEdit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(ScaleDip(kSearchLeftMarginDips, dpi), ScaleDip(kSearchRightMarginDips, dpi)));
    }
}

// The controls are gone with the bar; from here on the object knows no window.
void CommandBar::ForgetWindows() {
    accessible.Disconnect();
    addressAccessible.Disconnect();
    for (CommandButton& button : buttons) button.window = nullptr;
    addressEdit = nullptr;
    searchEdit = nullptr;
    tips = nullptr;
    editing = false;
}

LRESULT CommandBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> colour = AnswerControlColour(message, wParam)) return *colour;
    if (const std::optional<LRESULT> drawn =
            AnswerDrawnWindowMessage(hwnd, message, wParam, [this](HDC dc) { Paint(dc); })) {
        return *drawn;
    }
    switch (message) {
    case WM_SIZE:
        Layout(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_SETCURSOR:
        if (ShowArrowInResizeBand(hwnd)) return TRUE;
        break;
    case WM_DRAWITEM:
        MakeIcons();
        DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnCommandMessage(wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MBUTTONDOWN:
        OnMiddleButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer = accessible.AnswerGetObject(hwnd, *this, wParam, lParam)) {
            return *answer;
        }
        break;
    case kOpenSegmentMessage:
        if (!editing) OpenSegment(static_cast<int>(wParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CommandBar::RaiseCommand(int commandId) const {
    if (!onCommand) return;
    // The owner may destroy this bar while handling the command; the copy keeps
    // the callable alive until it returns.
    const auto callback = onCommand;
    callback(commandId);
}

void CommandBar::OnCommandMessage(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == BN_CLICKED && id >= kCommandBack && id <= kCommandReopenClosedFolder) {
        // A click that was on its way while the button was disabled is dropped too.
        const HWND sender = reinterpret_cast<HWND>(lParam);
        if (sender && !IsWindowEnabled(sender)) return;
        RaiseCommand(id);
    } else if (code == kButtonMiddleClicked && id == kCommandReopenClosedFolder) {
        RaiseCommand(kCommandReopenClosedFolderBehind);
    } else if (code == EN_CHANGE && id == kCommandSearchTextChanged) {
        ResetClearButton();
        RaiseCommand(kCommandSearchTextChanged);
    }
}

const CommandBar::CommandButton* CommandBar::FindButton(UINT commandId) const {
    for (const CommandButton& button : buttons) {
        if (button.window && static_cast<UINT>(button.commandId) == commandId) return &button;
    }
    return nullptr;
}

void CommandBar::DrawButton(const DRAWITEMSTRUCT& item) const {
    const CommandButton* button = FindButton(item.CtlID);
    if (!button || !button->enabledIcon) return;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    // A disabled button gets no mouse messages, so a hover flag it kept from
    // before would never clear; it is never drawn hot.
    const bool hot = !disabled && (button->hover || pressed);
    if (HighContrastOn()) {
        // Framed rather than filled: the glyph keeps the colour it stands out in.
        FillInk(item.hDC, item.rcItem, ChromeInk::Face);
        if (hot) FrameInk(item.hDC, item.rcItem, ChromeInk::Accent);
    } else {
        FillInk(item.hDC, item.rcItem, hot ? ChromeInk::HotFace : ChromeInk::Face);
    }
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    const RECT icon = ButtonIconRect(item.rcItem, button->drawDips, pressed, dpi);
    const HICON drawn = disabled && button->disabledIcon ? button->disabledIcon.get() : button->enabledIcon.get();
    DrawIconEx(item.hDC, icon.left, icon.top, drawn, icon.right - icon.left, icon.bottom - icon.top, 0, nullptr,
               DI_NORMAL);
}

LRESULT CALLBACK CommandBar::ButtonHoverProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR recordData) {
    auto* record = reinterpret_cast<CommandButton*>(recordData);
    switch (message) {
    case WM_MOUSEMOVE: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(button, &point);
        if (!InResizeBand(button, point) && !record->hover) {
            record->hover = true;
            RequestMouseLeave(button);
            InvalidateRect(button, nullptr, FALSE);
        }
        break;
    }
    case WM_MBUTTONDOWN:
        if (IsWindowEnabled(button)) {
            SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(record->commandId, kButtonMiddleClicked),
                         reinterpret_cast<LPARAM>(button));
        }
        return 0;
    case WM_MOUSELEAVE:
        if (record->hover) {
            record->hover = false;
            InvalidateRect(button, nullptr, FALSE);
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(button, ButtonHoverProc, kControlSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

void CommandBar::MoveControl(HWND control, const RECT& rect, UINT extraFlags) const {
    if (!control) return;
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | extraFlags);
}

void CommandBar::LayOutClientArea() {
    if (!hwnd) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    Layout(client.right, client.bottom);
}

void CommandBar::Layout(int width, int height) {
    const CommandBarLayout layout = LayOutCommandBar(width, height, dpi, searchBoxVisible);
    for (size_t i = 0; i < buttons.size(); ++i) MoveControl(buttons[i].window, layout.buttons[i]);
    MoveControl(addressEdit, layout.addressEdit);
    if (layout.searchBoxShown) {
        MoveControl(searchEdit, layout.searchBox, SWP_SHOWWINDOW);
        ResetClearButton();
    } else if (searchEdit) {
        ShowWindow(searchEdit, SW_HIDE);
    }
    addressRect = layout.addressRect;
    LayOutSegmentRects();
    if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
}

int CommandBar::DesiredHeight(int width) const {
    return CommandBarHeight(width, dpi, searchBoxVisible, SegmentTextWidths());
}

void CommandBar::SetNavEnabled(bool backPossible, bool forwardPossible) {
    for (CommandButton& button : buttons) {
        if (!button.window) continue;
        if (button.commandId == kCommandBack) EnableWindow(button.window, backPossible);
        if (button.commandId == kCommandForward) EnableWindow(button.window, forwardPossible);
    }
}

void CommandBar::SetSearchBoxVisible(bool visible) {
    if (visible == searchBoxVisible) return;
    searchBoxVisible = visible;
    LayOutClientArea();
}

void CommandBar::FocusSearchBox() {
    if (!searchEdit) return;
    if (!searchBoxVisible) {
        searchBoxVisible = true;
        LayOutClientArea();
    }
    ShowWindow(searchEdit, SW_SHOW);
    SetFocus(searchEdit);
    SendMessageW(searchEdit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
}

void CommandBar::SetSearchText(const std::wstring& text) {
    if (searchEdit) SetWindowTextW(searchEdit, text.c_str());
}

std::wstring CommandBar::GetSearchText() const { return ReadWindowText(searchEdit); }

std::wstring CommandBar::GetAddressText() const { return ReadWindowText(addressEdit); }

std::wstring SearchCueText(const std::wstring& folderName) { return L"在 " + folderName + L" 中搜索"; }

void CommandBar::SetSearchPlaceholder(const std::wstring& folderName) {
    std::wstring cue = SearchCueText(folderName);
    if (cue == searchPlaceholder) return;
    searchPlaceholder = std::move(cue);
    if (searchEdit) InvalidateRect(searchEdit, nullptr, TRUE);
}

void CommandBar::SetDpi(int newDpi) {
    // Every size would scale to nothing.
    if (newDpi <= 0 || newDpi == dpi) return;
    dpi = newDpi;
    ApplyEditFonts();
    LayOutClientArea();
}
