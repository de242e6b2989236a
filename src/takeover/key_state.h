#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The whole earlier state of one key the takeover changes, kept in the record so
// that undoing the takeover puts back exactly what was there: which levels of
// the key's path existed, and each value the takeover writes, with its type and
// bytes as they were, or that it was not there.

struct SavedValue {
    std::wstring name;  // empty for the key's default value
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    bool operator==(const SavedValue&) const = default;
};

struct KeyState {
    // How many backslash-separated levels of the key's path (below
    // HKCU\Software\Classes) existed; all of them when the key itself did.
    uint32_t existingLevels = 0;
    std::vector<SavedValue> values;

    bool operator==(const KeyState&) const = default;
};

// The number of levels of a path below HKCU\Software\Classes.
[[nodiscard]] uint32_t PathLevels(const std::wstring& subkey);

// The first levels of a path: "Directory\shell" for two levels of "Directory\shell\open".
[[nodiscard]] std::wstring FirstLevels(const std::wstring& subkey, uint32_t levels);

// The record's bytes for a key state, and back. Reading checks every length
// against what is there and against bounds no real key comes near, so a
// damaged record is refused whole rather than misread.
[[nodiscard]] std::vector<BYTE> EncodeKeyState(const KeyState& state);
[[nodiscard]] std::optional<KeyState> DecodeKeyState(const std::vector<BYTE>& bytes);

// A text value as the registry holds it: the characters and a terminator.
[[nodiscard]] SavedValue TextValue(const std::wstring& name, const std::wstring& text, DWORD type);

// The text of a saved string value, up to its first NUL; none for a value that
// is absent or not a string.
[[nodiscard]] std::optional<std::wstring> SavedText(const SavedValue& value);
