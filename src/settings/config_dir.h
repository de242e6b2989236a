#pragma once

#include <string>

// The folder "config" beside the executable, with its trailing backslash; created
// if it does not exist yet.
[[nodiscard]] std::wstring ConfigDir();

// ConfigDir followed by a bare file name.
[[nodiscard]] std::wstring ConfigFilePath(const std::wstring& name);

// The config folder for an executable in the given folder, with its trailing backslash.
[[nodiscard]] std::wstring ConfigFolderBeside(std::wstring exeFolder);

// Points ConfigDir at another folder (with its trailing backslash), for tests;
// an empty path restores the folder beside the executable.
void OverrideConfigDir(const std::wstring& folder);
