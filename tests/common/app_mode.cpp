#include "common/app_mode.h"

namespace {

constexpr wchar_t kPersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

}  // namespace

AppModeOverride::AppModeOverride() : personalize_(HKEY_CURRENT_USER, kPersonalizeKey) {}

bool AppModeOverride::Set(bool light) const {
    const DWORD value = light ? 1 : 0;
    return personalize_.Ready() && RegSetKeyValueW(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme",
                                                   REG_DWORD, &value, sizeof(value)) == ERROR_SUCCESS;
}
