#include "ui/paths.h"

#include <windows.h>

std::wstring WithoutTrailingBackslashes(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(WithoutTrailingBackslashes(a).c_str(), WithoutTrailingBackslashes(b).c_str()) == 0;
}

std::wstring SystemFolderFile(const wchar_t* name, bool inWindowsFolder) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = inWindowsFolder ? GetWindowsDirectoryW(folder, MAX_PATH) : GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return name;
    return std::wstring(folder, length) + L"\\" + name;
}

std::wstring LastPathComponent(const std::wstring& path) {
    const size_t separator = path.rfind(L'\\');
    if (separator == std::wstring::npos || separator + 1 == path.size()) return path;
    return path.substr(separator + 1);
}
