#include "dialogs/modal_window.h"

#include "ui/window_class.h"

namespace {

constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU;
constexpr DWORD kModalStyle = WS_POPUP | WS_VISIBLE | kFrameStyle;

void CentreOver(HWND window, HWND owner) {
    RECT ownerRect{};
    RECT windowRect{};
    if (!GetWindowRect(owner, &ownerRect) || !GetWindowRect(window, &windowRect)) return;
    const int width = windowRect.right - windowRect.left;
    const int height = windowRect.bottom - windowRect.top;
    SetWindowPos(window, nullptr, ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2,
                 ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
}

}  // namespace

SIZE ModalWindowSize(SIZE clientSize, int dpi) {
    RECT bounds{0, 0, clientSize.cx, clientSize.cy};
    // The frame at the window's own DPI: after a move to another monitor the
    // system DPI's caption would leave the client area too small or too large.
    AdjustWindowRectExForDpi(&bounds, kFrameStyle, FALSE, 0, static_cast<UINT>(dpi));
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

HWND CreateModalWindow(const wchar_t* className, const wchar_t* title, SIZE clientSize, int dpi, HWND owner,
                       void* object) {
    const SIZE size = ModalWindowSize(clientSize, dpi);
    return CreateWindowExW(0, className, title, kModalStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, owner,
                           nullptr, GetModuleHandleW(nullptr), object);
}

void RunModalWindow(HWND window, HWND owner) {
    CentreOver(window, owner);
    EnableWindow(owner, FALSE);
    MSG message{};
    while (IsWindow(window)) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                DestroyBoundWindow(window);
                EnableWindow(owner, TRUE);
                return;
            }
            if (!IsDialogMessageW(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            // Waiting for more would hang once the last message closed the window.
            if (!IsWindow(window)) break;
        }
        if (IsWindow(window)) WaitMessage();
    }
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
}
