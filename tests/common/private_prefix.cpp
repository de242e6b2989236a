#include "common/private_prefix.h"

#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kMarkerName[] = L"quorlen-private-test-prefix";

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring EnvironmentVariable(const wchar_t* name) {
    const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return {};
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), length));
    return value;
}

}  // namespace

bool InPrivateTestPrefix(std::wstring& why) {
    if (!RunningUnderWine()) {
        why = L"refusing to run: these tests change HKCU and run only under Wine, through tools/test";
        return false;
    }
    // Wine passes the Unix environment through; its root file system is drive Z:.
    std::wstring prefix = EnvironmentVariable(L"WINEPREFIX");
    if (prefix.empty() || prefix[0] != L'/') {
        why = L"refusing to run: WINEPREFIX is not set to the private prefix of tools/test";
        return false;
    }
    for (wchar_t& c : prefix) {
        if (c == L'/') c = L'\\';
    }
    const std::wstring marker = L"Z:" + prefix + L"\\" + kMarkerName;
    if (GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        why = L"refusing to run: the Wine prefix " + prefix + L" is not marked as the private test prefix";
        return false;
    }
    return true;
}

std::string NarrowForTest(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr,
                        nullptr);
    return result;
}
