#pragma once

#include <windows.h>

#include <functional>

#include "settings/settings.h"

// Shows the modal settings dialog over owner, filled from settings. When the
// user confirms, onApply receives the changed settings.
void ShowSettingsDialog(HWND owner, const Settings& settings, const std::function<void(const Settings&)>& onApply);
