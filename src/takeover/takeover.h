#pragma once

#include <string>

// Folder takeover: the ten open commands under HKCU\Software\Classes point at this
// program, in the direct form while it runs and in the fallback form after it
// has ended, so that a moved or deleted program never leaves folders unopenable.

// The full path of the running executable; empty when it cannot be had whole.
[[nodiscard]] std::wstring ExecutablePath();

// All ten command keys exist, each names this executable (in either form) and
// none has a delegate object.
[[nodiscard]] bool IsTakeoverActive();

// The command key below HKCU\Software\Classes names the executable exe.
[[nodiscard]] bool KeyNamesExecutable(const wchar_t* subkey, const std::wstring& exe);

// Some command key still names this executable.
[[nodiscard]] bool IsAnyKeyOurs();

// All ten command keys exist and none goes through cmd or PowerShell.
[[nodiscard]] bool AreCommandsDirect();

// Points all ten command keys at the fallback form; failures are skipped.
void WriteFallbackCommands();

// At main-window creation: puts the direct form back when the takeover is
// switched on but not in force that way, and restarts Explorer when it had not
// been in force at all.
void CheckTakeoverAtStartup(bool takeoverSetting);

// At exit, points the folder takeover's keys at the command that works without us.
void SwitchToFallbackAtExit();

// On a timer: once the executable's file is gone, switches to the fallback form.
void CheckExecutablePresence();
