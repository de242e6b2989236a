#include "takeover/registry_values.h"

#include <shlobj.h>

#include "takeover/takeover_keys.h"

std::optional<RegistryString> ReadStringValue(HKEY key, const wchar_t* name) {
    // Read raw, as stored: an expandable text must not be expanded, and a value
    // written without its terminator or with an odd byte count is still the text
    // it holds, not something to give up on and later treat as missing.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
        // Room for a terminator the value may lack, and for a last half character.
        std::wstring text(size / sizeof(wchar_t) + 2, L'\0');
        DWORD read = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &read);
        // The value may grow between asking for its size and reading it; ask again then.
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
        text.resize(read / sizeof(wchar_t));
        const size_t end = text.find(L'\0');
        if (end != std::wstring::npos) text.resize(end);
        return RegistryString{std::move(text), type};
    }
    return std::nullopt;
}

std::optional<DWORD> ReadNumberValue(HKEY key, const wchar_t* name) {
    DWORD number = 0;
    DWORD size = sizeof(number);
    if (RegGetValueW(key, nullptr, name, RRF_RT_DWORD, nullptr, &number, &size) != ERROR_SUCCESS ||
        size != sizeof(number)) {
        return std::nullopt;
    }
    return number;
}

LSTATUS WriteStringValue(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type) {
    return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LSTATUS WriteNumberValue(HKEY key, const wchar_t* name, DWORD number) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
}

std::wstring ClassesPath(std::wstring_view subkey) {
    return std::wstring(kClassesKey) + L"\\" + std::wstring(subkey);
}

UniqueKey OpenClassesKey(std::wstring_view subkey, REGSAM access) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ClassesPath(subkey).c_str(), 0, access, key.put()) != ERROR_SUCCESS) {
        return {};
    }
    return key;
}

std::optional<RegistryString> ReadClassesDefault(std::wstring_view subkey) {
    const UniqueKey key = OpenClassesKey(subkey, KEY_READ);
    if (!key) return std::nullopt;
    return ReadStringValue(key.get(), nullptr);
}

void NotifyAssociationsChanged() { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }
