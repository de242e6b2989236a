#pragma once

#include <windows.h>

#include <string>

// Where a program may hold the takeover: a file that later appears at a path on
// a removable, network or optical drive, or in the temporary folder (where a
// program started from inside a zip file runs), must not be started for every
// folder the user opens.

// Why a program at this path may not take over, given the type of its drive
// (GetDriveTypeW) and the temporary folder; empty when it may.
[[nodiscard]] std::wstring UnsafeLocationReason(const std::wstring& path, UINT driveType,
                                                const std::wstring& tempFolder);

// The same for the path as it is on this machine.
[[nodiscard]] std::wstring UnsafeLocationReason(const std::wstring& path);
