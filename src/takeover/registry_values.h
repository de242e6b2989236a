#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/handles.h"

// Reading and writing the string and number values of the takeover's keys.

// A string value with the type it was stored as (REG_SZ or REG_EXPAND_SZ).
struct RegistryString {
    std::wstring text;
    DWORD type = REG_SZ;

    bool operator==(const RegistryString&) const = default;
};

// A REG_SZ or REG_EXPAND_SZ value, cut at its first zero; none when the value is
// missing, of another type or unreadable.
[[nodiscard]] std::optional<RegistryString> ReadStringValue(HKEY key, const wchar_t* name);

// A number of exactly four bytes.
[[nodiscard]] std::optional<DWORD> ReadNumberValue(HKEY key, const wchar_t* name);

// Writes the text with its terminator: (characters + 1) * 2 bytes.
LSTATUS WriteStringValue(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type);
LSTATUS WriteNumberValue(HKEY key, const wchar_t* name, DWORD number);

// "Software\Classes\" and the subkey, relative to HKEY_CURRENT_USER.
[[nodiscard]] std::wstring ClassesPath(std::wstring_view subkey);

// A key under HKCU\Software\Classes; empty when it cannot be opened.
[[nodiscard]] UniqueKey OpenClassesKey(std::wstring_view subkey, REGSAM access);

// The default value of a key under HKCU\Software\Classes.
[[nodiscard]] std::optional<RegistryString> ReadClassesDefault(std::wstring_view subkey);

// Tells the shell that file associations changed.
void NotifyAssociationsChanged();
