#include "mainwindow/tab_switcher.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "ui/dpi.h"
#include "ui/fonts.h"
#include "ui/palette.h"

namespace {

constexpr int kListId = 1;
constexpr UINT_PTR kListSubclass = 1;
constexpr int kRowsShown = 12;
constexpr int kNarrowestDips = 240;
constexpr int kWidestDips = 480;
// Margins beside the text, and the scroll bar a long list shows.
constexpr int kTextPaddingDips = 44;

}  // namespace

TabSwitcher::~TabSwitcher() { DestroyBoundWindow(hwnd); }

bool TabSwitcher::Open(HWND owner, std::vector<Entry> shown, int selected) {
    if (hwnd || shown.empty()) return false;
    static const bool registered = RegisterChromeClass(kTabSwitcherClass, RouteToObject<TabSwitcher, &TabSwitcher::WindowGone>, 0);
    if (!registered) return false;
    entries = std::move(shown);
    const int dpi = static_cast<int>(GetDpiForWindow(owner));
    const HWND created = CreateWindowExW(WS_EX_TOOLWINDOW, kTabSwitcherClass, L"切换标签页", WS_POPUP | WS_BORDER, 0,
                                         0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), this);
    if (!created) return false;
    list = CreateWindowExW(0, L"LISTBOX", L"标签页",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 0, 0,
                           0, 0, hwnd, ControlId(kListId), GetModuleHandleW(nullptr), nullptr);
    if (!list || !SetWindowSubclass(list, ListProc, kListSubclass, reinterpret_cast<DWORD_PTR>(this))) {
        Close();
        return false;
    }
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont(dpi)), FALSE);
    for (const Entry& entry : entries) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.title.c_str()));
    }
    const int count = static_cast<int>(entries.size());
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(std::clamp(selected, 0, count - 1)), 0);
    PlaceOver(owner, dpi);
    ShowWindow(hwnd, SW_SHOW);
    // Keys still waiting go to the window with the focus when they are taken
    // from the queue: Ctrl let go before the list showed still reaches it.
    SetFocus(list);
    return true;
}

void TabSwitcher::PlaceOver(HWND owner, int dpi) {
    std::vector<std::wstring> titles;
    for (const Entry& entry : entries) titles.push_back(entry.title);
    int widest = 0;
    for (const std::optional<int>& width : UiTextWidths(titles, dpi)) widest = std::max(widest, width.value_or(0));
    const int width = std::clamp(widest + ScaleDip(kTextPaddingDips, dpi), ScaleDip(kNarrowestDips, dpi),
                                 ScaleDip(kWidestDips, dpi));
    const int rowHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int rows = std::min(static_cast<int>(entries.size()), kRowsShown);
    const int height = rowHeight * rows + 2;
    RECT frame{0, 0, width, height};
    AdjustWindowRectExForDpi(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW, static_cast<UINT>(dpi));
    RECT over{};
    GetWindowRect(owner, &over);
    const int outerWidth = frame.right - frame.left;
    const int outerHeight = frame.bottom - frame.top;
    SetWindowPos(hwnd, nullptr, (over.left + over.right - outerWidth) / 2, (over.top + over.bottom - outerHeight) / 2,
                 outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    MoveWindow(list, 0, 0, width, height, FALSE);
}

void TabSwitcher::Step(int step) {
    if (!list || entries.empty()) return;
    const int count = static_cast<int>(entries.size());
    const int now = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    const int next = ((now < 0 ? 0 : now) + step % count + count) % count;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
}

void TabSwitcher::Close() {
    DestroyBoundWindow(hwnd);
    hwnd = nullptr;
    list = nullptr;
}

void TabSwitcher::Choose() {
    const LRESULT chosen = list ? SendMessageW(list, LB_GETCURSEL, 0, 0) : LB_ERR;
    if (chosen < 0 || chosen >= static_cast<LRESULT>(entries.size())) {
        Close();
        return;
    }
    const Entry entry = entries[static_cast<size_t>(chosen)];
    Close();
    if (onChosen) onChosen(entry.tab, entry.folder);
}

LRESULT TabSwitcher::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> colour = AnswerControlColour(message, wParam)) return *colour;
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) PostMessageW(hwnd, kCloseMessage, 0, 0);
        break;
    case kCloseMessage:
        Close();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kListId && HIWORD(wParam) == LBN_DBLCLK) {
            Choose();
            return 0;
        }
        break;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The keys of the list while Ctrl is held, and a click that chooses.
LRESULT CALLBACK TabSwitcher::ListProc(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
    auto* self = reinterpret_cast<TabSwitcher*>(data);
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            self->Step(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            self->Close();
            return 0;
        }
        if (wParam == VK_RETURN) {
            self->Choose();
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_CONTROL) {
            self->Choose();
            return 0;
        }
        break;
    case WM_LBUTTONUP: {
        const LRESULT answer = DefSubclassProc(listBox, message, wParam, lParam);
        self->Choose();
        return answer;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(listBox, ListProc, kListSubclass); break;
    default: break;
    }
    return DefSubclassProc(listBox, message, wParam, lParam);
}
