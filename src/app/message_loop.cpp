#include "app/message_loop.h"

#include <windows.h>

#include "app/application.h"
#include "mainwindow/main_window.h"
#include "ui/text.h"

namespace {

bool IsKeyboardMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

bool IsButtonPress(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_XBUTTONDOWN;
}

KeyFocus FocusOfKeyboard() {
    HWND focus = GetFocus();
    if (!focus) return KeyFocus::Elsewhere;
    wchar_t className[65] = {};
    if (GetClassNameW(focus, className, 65) == 0) return KeyFocus::Elsewhere;
    return KeyFocusOfClass(className);
}

}  // namespace

KeyFocus KeyFocusOfClass(std::wstring_view className) {
    if (EqualsIgnoringCase(className, L"Edit")) return KeyFocus::TextBox;
    if (EqualsIgnoringCase(className, L"SysTreeView32")) return KeyFocus::Tree;
    return KeyFocus::Elsewhere;
}

int RunMessageLoop(Application& application) {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsKeyboardMessage(msg.message) || IsButtonPress(msg.message)) {
            MainWindow* window = application.WindowForRoot(GetAncestor(msg.hwnd, GA_ROOT));
            // Which pane of a split tab has the focus follows where the user types and clicks.
            if (window) window->NoteInputIn(msg.hwnd);
            if (window && IsKeyboardMessage(msg.message) && window->HandleKey(msg, FocusOfKeyboard())) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
