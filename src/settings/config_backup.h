#pragma once

#include <windows.h>

#include <string>

#include "settings/settings.h"

// The backup copy of the config folder: a folder "config" inside the folder
// the BackupDir setting names, replaced whole on every run.

// Copies the config folder, with every save asked for before, into
// BackupDir\config, replacing the previous copy only once the new one is whole
// (it is made beside it first).
// False when BackupDir is blank, when the copy would be the config folder, lie
// inside it or contain it (under any name for it), or when the backup folder can
// neither be created nor found. Failures of single files are not reported.
bool BackupConfig(const Settings& settings);

// Copies what the source folder holds into the existing target folder,
// overwriting files of the same name. Links to folders are not followed. Errors
// of single entries are skipped; the result is always true.
bool CopyTree(const std::wstring& source, const std::wstring& target);

// Removes a folder and everything in it, read-only and hidden files included.
// A link to a folder, at the top or below, is removed itself and what it points
// to is left alone. Returns whether the folder itself is gone.
bool DeleteTree(const std::wstring& folder);

// BackupDir without the spaces and tabs at either end.
[[nodiscard]] std::wstring TrimSpacesAndTabs(const std::wstring& text);

// The copy's folder inside a trimmed BackupDir.
[[nodiscard]] std::wstring BackupTarget(const std::wstring& backupDir);

// Whether the target equals the source, lies inside it or contains it, ignoring
// letter case. Both are full paths without trailing backslashes.
[[nodiscard]] bool TargetOverlapsSource(const std::wstring& source, const std::wstring& target);

// The folder above a full path, or empty at a root ("C:\", "\\server\share").
[[nodiscard]] std::wstring ParentFolder(const std::wstring& path);

// Whether a directory entry is a link (a junction or a symbolic link) rather than
// a file or folder of its own: a reparse point whose tag marks it as standing for
// another name. Other reparse points, such as cloud placeholders, are real.
[[nodiscard]] bool IsLink(DWORD attributes, DWORD reparseTag);
[[nodiscard]] bool IsFolderLink(DWORD attributes, DWORD reparseTag);

// Whether a path names a folder from a drive's root or a network share, rather
// than relative to some current folder.
[[nodiscard]] bool IsAbsoluteFolderPath(const std::wstring& path);
