#include "ui/shell_settings.h"

#include "ui/handles.h"

DWORD ReadAdvancedValue(const wchar_t* name, DWORD fallback) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kExplorerAdvancedKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return fallback;
    }
    DWORD value = 0;
    DWORD size = sizeof(value);
    // A value shorter than four bytes is not a number the shell wrote; some
    // systems hand it over part-filled rather than refuse it.
    if (RegGetValueW(key.get(), nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS ||
        size != sizeof(value)) {
        return fallback;
    }
    return value;
}

void WriteAdvancedValue(const wchar_t* name, DWORD value) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kExplorerAdvancedKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}
