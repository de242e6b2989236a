#include "ui/paths.h"

#include <windows.h>

std::wstring WithoutTrailingBackslashes(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(WithoutTrailingBackslashes(a).c_str(), WithoutTrailingBackslashes(b).c_str()) == 0;
}
