#pragma once

#include <string>

// Index arithmetic of a window's tab list, apart from the tabs themselves.

// Where the active tab is after the tab at removed goes, in a list that then has
// remaining tabs. When the active tab itself went, its neighbour takes over: the
// tab now at the same place, or the one before when the last tab went.
struct ActiveAfterRemoval {
    int index = -1;
    bool activeRemoved = false;  // the returned tab must be activated
};
[[nodiscard]] ActiveAfterRemoval ActiveTabAfterRemoval(int removed, int active, int remaining);

// Where a tab taken from index lands when dropped at insertion slot slot (0 to the
// number of tabs); the slot counts the tab itself, which is no longer there.
[[nodiscard]] int MoveTarget(int index, int slot);

// The active index after the tab at from moved to to.
[[nodiscard]] int ActiveTabAfterMove(int from, int to, int active);

// The tab a wheel or tab-step request reaches from active, wrapping at both ends.
[[nodiscard]] int SteppedTab(int active, int step, int count);

// The folder to open for a request to show and select path: the part before its
// last backslash for drive paths, else the path itself.
[[nodiscard]] std::wstring FolderToShowForSelection(const std::wstring& path);

// The folder name the search box's cue shows: the last part of a path, or the
// display name of a virtual folder, whose parsing name means nothing to a reader.
[[nodiscard]] std::wstring SearchCueName(const std::wstring& path, const std::wstring& displayName);

// Text of a tab that has not yet reported a folder.
inline constexpr wchar_t kUntitledTab[] = L"新标签";
// Text of a tab whose folder's drive is slow to answer.
inline constexpr wchar_t kConnectingTab[] = L"正在连接…";

// The computer's drives view, where new tabs open when no usable folder is set.
inline constexpr wchar_t kComputerFolder[] = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
