#pragma once

#include <string>

// The path without trailing backslashes, except that a drive root keeps its own:
// backslashes go only while the path is longer than three characters.
[[nodiscard]] std::wstring WithoutTrailingBackslashes(std::wstring path);

// Whether two paths name the same folder, ignoring letter case and trailing
// backslashes. "C:\" and "C:" differ: the bare drive names that drive's current folder.
[[nodiscard]] bool SamePath(const std::wstring& a, const std::wstring& b);

// Whether the text is a path on a disk or a share ("C:\…", "\\server\…");
// "::{…}" folders, "shell:" and "search-ms:" places and every other name
// without a file-system path are not.
[[nodiscard]] bool IsFileSystemPath(const std::wstring& path);

// A key under which paths that differ only in letter case and trailing
// backslashes meet: for finding one among many without comparing each with each.
[[nodiscard]] std::wstring PathKey(const std::wstring& path);

// The full path of a file in the system folder (or, with inWindowsFolder, the
// Windows folder), so that no program of the same name beside us or in the
// current folder is run in its place. The bare name when the folder is unknown.
[[nodiscard]] std::wstring SystemFolderFile(const wchar_t* name, bool inWindowsFolder = false);

// The text after the last backslash, or the whole text when it has none or
// nothing follows it.
[[nodiscard]] std::wstring LastPathComponent(const std::wstring& path);

// A relative folder path made full against the current folder; any other text
// (full paths, "::{…}" folders, "shell:" places) as it stands.
[[nodiscard]] std::wstring FullPathOf(const std::wstring& path);
