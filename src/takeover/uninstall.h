#pragma once

// Keeps the entry in the system's list of installed programs up to date.
void RegisterUninstallEntry();

// The "uninstall" option: undoes the folder takeover; returns the exit code.
[[nodiscard]] int RunUninstallCommand(bool silent);
