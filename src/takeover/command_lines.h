#pragma once

#include <string>
#include <string_view>

// The command lines the takeover writes for the shell, and how its own commands
// are told apart from everyone else's. Plain functions of text.

// ASCII letters lowered, everything else as it stands.
[[nodiscard]] std::wstring LowerAscii(std::wstring text);

// The program itself: the quoted executable, a space and the argument template.
[[nodiscard]] std::wstring BuildDirectCommand(const std::wstring& exe, const std::wstring& argumentTemplate);

// The form earlier versions left while the program was not running, through the
// command interpreter. Never written any more; known so that it is recognised.
[[nodiscard]] std::wstring BuildFallbackCommand(const std::wstring& exe, const std::wstring& argumentTemplate);

// The launcher's file name, wherever it lies.
inline constexpr wchar_t kLauncherFileName[] = L"QuorlenLauncher.exe";

// Whether the value is the direct form for a program of the launcher's name.
[[nodiscard]] bool IsLauncherCommand(const std::wstring& value, const std::wstring& argumentTemplate);

// The program a command line starts: the quoted text at its start, or else the
// text up to its first blank.
[[nodiscard]] std::wstring ProgramOfCommand(const std::wstring& value);

// Whether the value names the executable, comparing ASCII letters without case.
[[nodiscard]] bool ContainsExecutable(const std::wstring& value, const std::wstring& exe);

// Whether a command key's value is one this program wrote: it names the
// executable, or it is the fallback form for any executable path, or the direct
// form for an executable of the same file name. The last two still recognise
// our commands after the program was moved.
[[nodiscard]] bool IsOwnCommand(const std::wstring& value, const std::wstring& exe,
                                const std::wstring& argumentTemplate);

// The executable a command in the direct or the fallback form starts; empty for
// a command of any other shape.
[[nodiscard]] std::wstring ProgramOfOwnForm(const std::wstring& value, const std::wstring& argumentTemplate);
