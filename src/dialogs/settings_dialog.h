#pragma once

#include <windows.h>

#include "settings/settings_store.h"

inline constexpr wchar_t kSettingsDialogClass[] = L"Quorlen.SettingsDlg";

// Shows the modal settings dialog over owner, filled from the store's values,
// and returns when it is closed. Switching the takeover on or off saves the
// flag through the store at once. When the user confirms, the store takes the
// edited values.
void ShowSettingsDialog(HWND owner, SettingsStore& store);
