#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "ui/tab_colours.h"

// A tab's own name is kept to this many characters.
inline constexpr size_t kTabNameLimit = 100;

// What the user made of a tab beyond its folder: pinned at the left, a name
// of its own, a colour, and when it was last shown, for switching by recent use.
struct TabMarks {
    // Never shown: older than any tab shown.
    static constexpr int64_t kNeverUsed = std::numeric_limits<int64_t>::min();

    bool pinned = false;
    std::wstring name;  // empty: the folder's name
    int colour = 0;     // 0, or a tab colour from 1 to kTabColourCount
    // Greater for a tab shown later. Tabs restored from the file are older than
    // every tab shown since the start, in their saved order.
    int64_t lastUsed = kNeverUsed;

    bool operator==(const TabMarks&) const = default;
};

// A typed name as a tab keeps it: trimmed of blanks, line breaks and other
// control characters made spaces, and cut to kTabNameLimit characters.
[[nodiscard]] std::wstring CleanTabName(std::wstring_view typed);

// The file beside tabs.txt that holds the marks of the tabs it lists.
inline constexpr wchar_t kTabMarksFileName[] = L"tabmarks.txt";

// The lines of the file, one a tab: "|index|pinned|colour|recent|path|name",
// pinned 0 or 1, recent the tab's place in the order of use (0 the tab shown
// last, ties kept in tab order), path the tab's saved folder (which tells a
// stale line) and name its own, possibly empty. No folder's path holds "|"; a
// name may.
[[nodiscard]] std::vector<std::wstring> TabMarksLines(const std::vector<TabMarks>& marks,
                                                     const std::vector<std::wstring>& tabPaths);

// One set of marks for each saved tab, read from the file's lines. A tab whose
// line is missing, damaged or stale (tabs.txt changed without the file) keeps
// no marks; the tabs never depend on the file. Restored tabs are dated before
// zero, the most recent latest.
[[nodiscard]] std::vector<TabMarks> MatchTabMarks(const std::vector<std::wstring>& lines,
                                                  const std::vector<std::wstring>& tabPaths);
