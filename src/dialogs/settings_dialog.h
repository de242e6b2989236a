#pragma once

#include <windows.h>

#include <functional>

#include "settings/settings.h"

inline constexpr wchar_t kSettingsDialogClass[] = L"Quorlen.SettingsDlg";

// Shows the modal settings dialog over owner, filled from settings, and returns
// when it is closed. Switching the takeover on or off stores the flag into
// settings and settings.txt at once. When the user confirms, settings takes the
// edited values and onApply receives them.
void ShowSettingsDialog(HWND owner, Settings& settings, std::function<void(const Settings&)> onApply);
