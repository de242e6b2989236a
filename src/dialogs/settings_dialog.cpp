#include "dialogs/settings_dialog.h"

// The dialog's window is not built yet: nothing is shown and nothing changes.
void ShowSettingsDialog(HWND, const Settings&, const std::function<void(const Settings&)>&) {}
