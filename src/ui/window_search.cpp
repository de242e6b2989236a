#include "ui/window_search.h"

namespace {

bool IsLargerThanOnePixel(HWND window) {
    RECT bounds{};
    return GetWindowRect(window, &bounds) && bounds.right - bounds.left > 1 && bounds.bottom - bounds.top > 1;
}

}  // namespace

HWND FindDescendantOfClass(HWND parent, const wchar_t* className, bool sizedOnly) {
    if (!parent || !IsWindow(parent)) return nullptr;
    struct Search {
        const wchar_t* className;
        bool sizedOnly;
        HWND found;
    } search{className, sizedOnly, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (lstrcmpiW(name, wanted->className) != 0) return TRUE;
            if (wanted->sizedOnly && !IsLargerThanOnePixel(child)) return TRUE;
            wanted->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
