#include "ui/balloon_notice.h"

#include <commctrl.h>

#include "ui/dark_mode.h"
#include "ui/palette.h"

namespace {

constexpr UINT_PTR kNoticeToolId = 1;

}  // namespace

BalloonNotice::~BalloonNotice() {
    if (balloon && IsWindow(balloon)) DestroyWindow(balloon);
}

bool BalloonNotice::Show(HWND owner, POINT screen, const std::wstring& title, const std::wstring& text,
                         int maxWidth) {
    Hide();
    // Made afresh for each notice: it belongs to the owner, and a tooltip keeps
    // no more than the text of its one tool.
    balloon = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_BALLOON | TTS_CLOSE, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (!balloon) return false;
    if (DarkChrome()) ThemeTooltip(balloon, true);
    shownText = text;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = owner;
    tool.uId = kNoticeToolId;
    tool.lpszText = shownText.data();
    SendMessageW(balloon, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(balloon, TTM_SETMAXTIPWIDTH, 0, maxWidth);
    SendMessageW(balloon, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(title.c_str()));
    SendMessageW(balloon, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
    // Tracking shows the balloon without activating it: the user's typing goes on where it was.
    SendMessageW(balloon, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    return true;
}

void BalloonNotice::Hide() {
    if (!balloon) return;
    if (IsWindow(balloon)) DestroyWindow(balloon);
    balloon = nullptr;
}
