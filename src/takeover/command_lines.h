#pragma once

#include <string>
#include <string_view>

// The command lines the takeover writes for the shell, and how its own commands
// are told apart from everyone else's. Plain functions of text.

// ASCII letters lowered, everything else as it stands.
[[nodiscard]] std::wstring LowerAscii(std::wstring text);

// The program itself: the quoted executable, a space and the argument template.
[[nodiscard]] std::wstring BuildDirectCommand(const std::wstring& exe, const std::wstring& argumentTemplate);

// Through the command interpreter: starts the executable while its file exists,
// else opens the folder in the system's explorer.exe, named by its full path.
[[nodiscard]] std::wstring BuildFallbackCommand(const std::wstring& exe, const std::wstring& argumentTemplate);

// The entry's uninstall command: PowerShell deletes the ten command keys, the
// backup key and the entry itself with reg.exe, without running the program.
[[nodiscard]] std::wstring BuildUninstallCommandLine();

// Whether the value names the executable, comparing ASCII letters without case.
[[nodiscard]] bool ContainsExecutable(const std::wstring& value, const std::wstring& exe);

// Whether the value goes through the command interpreter or PowerShell rather
// than starting a program directly.
[[nodiscard]] bool IsIndirectCommand(const std::wstring& value);

// Whether a command key's value is one this program wrote: it names the
// executable, or it is the fallback form for any executable path, or the direct
// form for an executable of the same file name. The last two still recognise
// our commands after the program was moved.
[[nodiscard]] bool IsOwnCommand(const std::wstring& value, const std::wstring& exe,
                                const std::wstring& argumentTemplate);

// The executable a command in the direct or the fallback form starts; empty for
// a command of any other shape.
[[nodiscard]] std::wstring ProgramOfOwnForm(const std::wstring& value, const std::wstring& argumentTemplate);
