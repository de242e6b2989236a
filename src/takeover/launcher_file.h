#pragma once

#include <string>

// The launcher: a small program of ours that the shell's open commands start
// while a takeover exists. It travels inside Quorlen.exe and is written to a
// fixed folder of the user's, so that it stays where the commands point when
// Quorlen's own folder is moved, renamed or deleted.

// %LOCALAPPDATA%\Quorlen, without a trailing backslash; empty when unknown.
[[nodiscard]] std::wstring LauncherFolder();

// The launcher's path in that folder; empty when the folder is unknown.
[[nodiscard]] std::wstring LauncherPath();

enum class LauncherState {
    Missing,   // no file there
    Outdated,  // another build of an earlier or the same version
    Current,   // byte for byte the one this program carries
    Newer,     // written by a later version: left alone
};

// Compares the file at the path with the launcher this program carries. A
// program that carries none (a test program) finds any file current.
[[nodiscard]] LauncherState CheckLauncher(const std::wstring& path);

// Writes the launcher this program carries to the path, replacing an older one
// even while it runs. On failure, sets the error text when given.
bool WriteLauncher(const std::wstring& path, std::wstring* error);

// Whether this process is the launcher at that path.
[[nodiscard]] bool RunningFrom(const std::wstring& path);

// Deletes the launcher folder with what it holds once no takeover needs it;
// what is in use stays.
void RemoveLauncherFolder();

// Whether the file at the path is a Quorlen.exe: it exists and its version
// information names the product Quorlen.
[[nodiscard]] bool IsQuorlenProgram(const std::wstring& path);
