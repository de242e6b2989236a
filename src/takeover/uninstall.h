#pragma once

#include <cstdint>
#include <string>

// Keeps the entry in the system's list of installed programs up to date.
void RegisterUninstallEntry();

// The "uninstall" option: undoes the folder takeover; returns the exit code.
[[nodiscard]] int RunUninstallCommand(bool silent);

// Deletes the ten command keys outright. On failure, sets the error text when given.
bool DeleteTakeoverKeys(std::wstring* error);

// Ends and restarts Explorer, so that it reads the open commands again.
void RestartExplorer();

// The entry's install location: the executable's path up to its last backslash.
[[nodiscard]] std::wstring InstallLocationOf(const std::wstring& exe);

// The entry's size in KiB from the low 32 bits of the file size, rounded down.
[[nodiscard]] uint32_t EstimatedSizeKiB(uint32_t fileSizeLow);
