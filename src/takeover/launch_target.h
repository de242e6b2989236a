#pragma once

#include <string>

// What the launcher does with what the shell hands it: plain functions of text.

// Whether the shell's argument names a folder on a disk, which Quorlen shows;
// "::{…}" folders, "shell:" and "search-ms:" places and every other name
// without a file-system path go straight to the system's explorer.exe.
[[nodiscard]] bool IsFileSystemTarget(const std::wstring& target);

// The command line that opens the target in the system's explorer.exe, given its path.
[[nodiscard]] std::wstring ExplorerCommandLine(const std::wstring& explorer, const std::wstring& target,
                                               bool select);

// The command line that hands the target to Quorlen.exe.
[[nodiscard]] std::wstring QuorlenCommandLine(const std::wstring& program, const std::wstring& target, bool select);
