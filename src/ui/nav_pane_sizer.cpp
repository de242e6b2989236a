#include "ui/nav_pane_sizer.h"

#include <windows.h>

#include "ui/handles.h"

namespace {

constexpr wchar_t kSizerKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Modules\\GlobalSettings\\Sizer";
constexpr wchar_t kSizerValue[] = L"PageSpaceControlSizer";
constexpr BYTE kPaneSize[16] = {0xA0, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                                0x00, 0x00, 0x00, 0x00, 0x7A, 0x04, 0x00, 0x00};

}  // namespace

bool WriteNavPaneSizer(bool on) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSizerKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS &&
        RegCreateKeyExW(HKEY_CURRENT_USER, kSizerKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
            ERROR_SUCCESS) {
        return false;
    }
    LSTATUS status = on ? RegSetValueExW(key.get(), kSizerValue, 0, REG_BINARY, kPaneSize, sizeof(kPaneSize))
                        : RegDeleteValueW(key.get(), kSizerValue);
    return status == ERROR_SUCCESS;
}
