#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The entry in the system's list of installed programs, there only while a
// takeover exists. Its command is the launcher's, which undoes the takeover
// without Quorlen.exe and without any script host.
void RegisterUninstallEntry();
void RemoveUninstallEntry();

// The launcher command lines the entry holds.
[[nodiscard]] std::wstring UninstallCommandLine(const std::wstring& launcher, bool quiet);

// The "uninstall" option, of Quorlen.exe and of the launcher: asks unless
// silent, undoes the takeover and says how it went; returns the exit code.
[[nodiscard]] int RunUninstallCommand(bool silent);

// Asks whether to restart Explorer, for windows of it that still hold the old
// commands, and restarts it when the answer is yes. Never without asking.
void OfferExplorerRestart(HWND owner);

// The entry's install location: the executable's path up to its last backslash.
[[nodiscard]] std::wstring InstallLocationOf(const std::wstring& exe);

// The entry's size in KiB from the low 32 bits of the file size, rounded down.
[[nodiscard]] uint32_t EstimatedSizeKiB(uint32_t fileSizeLow);
