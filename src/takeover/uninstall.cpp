#include "takeover/uninstall.h"

// The program registers no uninstall entry and changes no shell keys yet, so
// there is nothing to register and nothing to undo.
void RegisterUninstallEntry() {}

int RunUninstallCommand(bool) { return 0; }
