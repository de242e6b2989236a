#include "ui/window_class.h"

bool RegisterChromeClass(const wchar_t* className, WNDPROC procedure, UINT style, int backgroundColour) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColour + 1));
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void DestroyBoundWindow(HWND window) {
    if (window && !DestroyWindow(window)) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

std::wstring ReadWindowText(HWND window) {
    if (!window) return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}
