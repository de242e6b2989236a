#pragma once

#include <string>
#include <vector>

// What each tab of a window is called on its strip, as a function of plain values.

struct TitleSource {
    std::wstring title;    // the name of the folder it shows, as the shell gives it
    std::wstring folder;   // that folder's path
    std::wstring ownName;  // the name the user gave the tab; empty for none
};

// A tab's own name stands as given. Tabs without one whose folders differ but
// share a name add as much of each folder's parent as tells them apart, up to
// three folders deep: "src — 项目A", "src — 项目B". A drive's root has its
// drive for a parent and a share its server; folders that are not on a disk or
// a share keep their name alone.
[[nodiscard]] std::vector<std::wstring> TabTitles(const std::vector<TitleSource>& tabs);

// The last depth folders of path's parent, joined by backslashes; empty when
// path is no file-system path or has no parent.
[[nodiscard]] std::wstring ParentTail(const std::wstring& path, int depth);
