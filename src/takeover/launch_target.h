#pragma once

#include <string>

// What the launcher does with what the shell hands it: plain functions of text.

// The command line that opens the target in the system's explorer.exe, given its path.
[[nodiscard]] std::wstring ExplorerCommandLine(const std::wstring& explorer, const std::wstring& target,
                                               bool select);

// The command line that hands the target to Quorlen.exe.
[[nodiscard]] std::wstring QuorlenCommandLine(const std::wstring& program, const std::wstring& target, bool select);
