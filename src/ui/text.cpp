#include "ui/text.h"

#include <windows.h>

#include <cwchar>

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                                        static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::wstring TrimBlanks(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) return {};
    return std::wstring(text.substr(first, text.find_last_not_of(L" \t") - first + 1));
}

std::wstring TextUpToNul(const void* data, size_t bytes) {
    if (!data) return {};
    const auto* text = static_cast<const wchar_t*>(data);
    return std::wstring(text, wcsnlen(text, bytes / sizeof(wchar_t)));
}
