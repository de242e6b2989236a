#include "takeover/key_snapshot.h"

#include <winternl.h>

#include "takeover/registry_values.h"
#include "ui/handles.h"

namespace {

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

bool EndsWithNul(const std::vector<BYTE>& data) {
    return data.size() % 2 == 0 && data.size() >= 2 && data[data.size() - 1] == 0 && data[data.size() - 2] == 0;
}

// Writes the bytes as they were. RegSetValueExW adds a terminator to a string
// stored without one, so such a value, which some programs leave, goes through
// the native call beneath it instead.
LSTATUS SetRawValue(HKEY key, const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
    if (!IsStringType(type) || data.empty() || EndsWithNul(data)) {
        return RegSetValueExW(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    }
    using SetValueKey = LONG(NTAPI*)(HANDLE, const UNICODE_STRING*, ULONG, ULONG, const void*, ULONG);
    static const auto setValueKey = reinterpret_cast<SetValueKey>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
    if (!setValueKey) return RegSetValueExW(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    UNICODE_STRING valueName{};
    valueName.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    valueName.MaximumLength = valueName.Length;
    valueName.Buffer = const_cast<wchar_t*>(name.c_str());
    return setValueKey(key, &valueName, 0, type, data.data(), static_cast<ULONG>(data.size())) == 0 ? ERROR_SUCCESS
                                                                                                   : ERROR_WRITE_FAULT;
}

std::optional<SavedValue> ReadRawValue(HKEY key, const std::wstring& name) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND) return SavedValue{name, false, REG_NONE, {}};
        if (status != ERROR_SUCCESS) return std::nullopt;
        SavedValue value{name, true, type, std::vector<BYTE>(size)};
        status = RegQueryValueExW(key, name.c_str(), nullptr, &type, value.data.data(), &size);
        // The value may grow between the two calls; then it is read again.
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        value.type = type;
        value.data.resize(size);
        return value;
    }
    return std::nullopt;
}

bool KeyIsEmpty(const std::wstring& subkey) {
    const UniqueKey key = OpenClassesKey(subkey, KEY_QUERY_VALUE);
    if (!key) return false;
    DWORD subkeys = 0;
    DWORD values = 0;
    return RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

}  // namespace

KeyState CaptureKeyState(const std::wstring& subkey, const std::vector<std::wstring>& valueNames) {
    KeyState state;
    const uint32_t levels = PathLevels(subkey);
    while (state.existingLevels < levels && OpenClassesKey(FirstLevels(subkey, state.existingLevels + 1), KEY_READ)) {
        ++state.existingLevels;
    }
    const UniqueKey key = state.existingLevels == levels ? OpenClassesKey(subkey, KEY_READ) : UniqueKey();
    for (const std::wstring& name : valueNames) {
        std::optional<SavedValue> value = key ? ReadRawValue(key.get(), name) : std::nullopt;
        state.values.push_back(value ? std::move(*value) : SavedValue{name, false, REG_NONE, {}});
    }
    return state;
}

LSTATUS PutBackKeyState(const std::wstring& subkey, const KeyState& state) {
    UniqueKey key;
    const LSTATUS opened =
        RegOpenKeyExW(HKEY_CURRENT_USER, ClassesPath(subkey).c_str(), 0, KEY_SET_VALUE, key.put());
    if (opened == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (opened != ERROR_SUCCESS) return opened;
    LSTATUS first = ERROR_SUCCESS;
    const auto putBack = [&](const SavedValue& value) {
        LSTATUS status = ERROR_SUCCESS;
        if (value.present) {
            status = SetRawValue(key.get(), value.name, value.type, value.data);
        } else {
            status = RegDeleteValueW(key.get(), value.name.c_str());
            if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
        }
        if (first == ERROR_SUCCESS) first = status;
    };
    for (const SavedValue& value : state.values) {
        if (!value.name.empty()) putBack(value);
    }
    for (const SavedValue& value : state.values) {
        if (value.name.empty()) putBack(value);
    }
    return first;
}

void RemoveCreatedLevels(const std::wstring& subkey, uint32_t existingLevels) {
    for (uint32_t levels = PathLevels(subkey); levels > existingLevels; --levels) {
        const std::wstring level = FirstLevels(subkey, levels);
        if (!OpenClassesKey(level, KEY_READ)) continue;
        if (!KeyIsEmpty(level) || RegDeleteKeyW(HKEY_CURRENT_USER, ClassesPath(level).c_str()) != ERROR_SUCCESS) {
            return;
        }
    }
}
