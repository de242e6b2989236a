#include "app/message_loop.h"

#include <windows.h>

#include "app/application.h"
#include "mainwindow/main_window.h"
#include "ui/text.h"

namespace {

bool IsKeyboardMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

bool FocusTakesKeysUntouched() {
    HWND focus = GetFocus();
    if (!focus) return false;
    wchar_t className[65] = {};
    if (GetClassNameW(focus, className, 65) == 0) return false;
    return ClassTakesKeysUntouched(className);
}

}  // namespace

bool ClassTakesKeysUntouched(std::wstring_view className) {
    return EqualsIgnoringCase(className, L"Edit") || EqualsIgnoringCase(className, L"SysTreeView32");
}

ViewShortcut ShortcutForKey(UINT message, WPARAM key, bool controlDown) {
    if (message != WM_KEYDOWN) return ViewShortcut::None;
    if (key == 'F' && controlDown) return ViewShortcut::FocusSearchBox;
    if (key == VK_F5) return ViewShortcut::Refresh;
    return ViewShortcut::None;
}

int RunMessageLoop(Application& application) {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsKeyboardMessage(msg.message) && !FocusTakesKeysUntouched()) {
            MainWindow* window = application.WindowForRoot(GetAncestor(msg.hwnd, GA_ROOT));
            if (window && window->RouteKeyToActivePanel(msg)) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
