#include "probes.h"

#include <commctrl.h>

#include <string_view>

namespace {

struct ListSearch {
    DWORD processId = 0;
    HWND found = nullptr;
    bool needItems = false;
};

bool IsListView(HWND window) {
    wchar_t className[64] = {};
    return GetClassNameW(window, className, 64) && std::wstring_view(className) == L"SysListView32";
}

bool HasItems(HWND list) {
    DWORD_PTR count = 0;
    return SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 200, &count) && count > 0;
}

BOOL CALLBACK FindList(HWND child, LPARAM lParam) {
    auto* search = reinterpret_cast<ListSearch*>(lParam);
    if (IsWindowVisible(child) && IsListView(child) && (!search->needItems || HasItems(child))) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindListedTopLevel(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<ListSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    EnumChildWindows(window, FindList, lParam);
    return search->found ? FALSE : TRUE;
}

}  // namespace

HWND ListedFolderView(DWORD processId) {
    ListSearch search{processId, nullptr, true};
    EnumWindows(FindListedTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND VisibleListView(HWND topLevel) {
    ListSearch search{0, nullptr, false};
    EnumChildWindows(topLevel, FindList, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

