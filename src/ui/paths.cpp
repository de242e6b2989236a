#include "ui/paths.h"

#include <windows.h>

#include <cwctype>
#include <string_view>

std::wstring WithoutTrailingBackslashes(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

namespace {

// What a case-insensitive string comparison of the path sees: the path without
// its trailing backslashes, up to its first NUL. A view, so that comparing a
// path with thousands of others copies none of them.
std::wstring_view ComparedPart(const std::wstring& path) {
    std::wstring_view view(path);
    while (view.size() > 3 && view.back() == L'\\') view.remove_suffix(1);
    return view.substr(0, view.find(L'\0'));
}

}  // namespace

bool IsFileSystemPath(const std::wstring& path) {
    if (path.starts_with(L"\\\\")) return true;
    return path.size() >= 2 && std::iswalpha(path[0]) && path[0] < 0x80 && path[1] == L':' &&
           (path.size() == 2 || path[2] == L'\\' || path[2] == L'/');
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    // The comparison lstrcmpiW makes, given the lengths instead of copies.
    const std::wstring_view left = ComparedPart(a);
    const std::wstring_view right = ComparedPart(b);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, left.data(), static_cast<int>(left.size()),
                          right.data(), static_cast<int>(right.size())) == CSTR_EQUAL;
}

std::wstring PathKey(const std::wstring& path) {
    std::wstring key(ComparedPart(path));
    if (!key.empty()) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
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

std::wstring FullPathOf(const std::wstring& path) {
    if (path.empty() || path.find(L':') != std::wstring::npos || path.starts_with(L'\\')) return path;
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return full;
}
