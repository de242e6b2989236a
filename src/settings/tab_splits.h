#pragma once

#include <string>
#include <vector>

#include "settings/tab_histories.h"

// How much of a split tab's width its left pane takes, in thousandths: half
// by default, and never less than a fifth for either pane.
inline constexpr int kEvenDivider = 500;
inline constexpr int kNarrowestDivider = 200;
inline constexpr int kWidestDivider = 800;

// A divider position brought within the bounds; any other number is even.
[[nodiscard]] int BoundedDivider(int thousandths);

// A tab shown as two panes side by side. The left pane is the tab itself (its
// folder is the tab's line in tabs.txt, its list the tab's history); this is
// the rest.
struct TabSplit {
    bool split = false;
    int divider = kEvenDivider;
    bool rightFocused = false;
    // The right pane's back and forward list.
    TabHistory right;

    bool operator==(const TabSplit&) const = default;
};

// The file beside tabs.txt that holds the splits of the tabs it lists.
inline constexpr wchar_t kTabSplitFileName[] = L"tabsplit.txt";

// The lines of the file: for each split tab, a line "|index|divider|focus|path"
// (focus 1 when the right pane has it; path the tab's saved folder, which
// tells a stale line), then the right pane's history as a block of
// tabhistory.txt. No line of a block starts with "|", which no folder's path
// may hold. A split without a list of its own opens its right pane on the
// tab's folder.
[[nodiscard]] std::vector<std::wstring> TabSplitLines(const std::vector<TabSplit>& splits,
                                                     const std::vector<std::wstring>& tabPaths);

// One split for each saved tab, read from the file's lines. A tab whose line is
// missing, damaged or stale (tabs.txt changed without the file) is not split;
// the tabs never depend on the file.
[[nodiscard]] std::vector<TabSplit> MatchTabSplits(const std::vector<std::wstring>& lines,
                                                   const std::vector<std::wstring>& tabPaths);
