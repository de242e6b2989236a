#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A tab's back and forward list as the config folder keeps it: the folders'
// paths, oldest first, and which of them the tab shows.
struct TabHistory {
    std::vector<std::wstring> entries;
    int current = -1;

    [[nodiscard]] bool Empty() const { return entries.empty(); }
    bool operator==(const TabHistory&) const = default;
};

// The file beside tabs.txt that holds the histories of the tabs it lists.
inline constexpr wchar_t kTabHistoryFileName[] = L"tabhistory.txt";

// Entries kept of each tab's history: those nearest its current one.
inline constexpr size_t kTabHistoryKept = 50;

// Read of the file at most: enough for hundreds of tabs of long paths. The
// histories are a convenience, and a larger file is no file of ours.
inline constexpr uint64_t kTabHistoryReadLimit = uint64_t{8} * 1024 * 1024;

// The part of a list of count entries kept around its current position: as
// many entries behind it as ahead where both sides have them. A current
// position outside the list keeps nothing.
struct KeptEntries {
    size_t first = 0;
    size_t end = 0;
    int current = -1;  // within the kept part
};
[[nodiscard]] KeptEntries KeptEntriesAround(size_t count, int current, size_t kept = kTabHistoryKept);

// The history cut to its kept entries, as KeptEntriesAround chooses them.
[[nodiscard]] TabHistory BoundedHistory(TabHistory history, size_t kept = kTabHistoryKept);

// The lines of the file for these histories, one block per tab in tab order: a
// line ">N" (the current entry is the block's Nth path, from 0), then the
// paths. No path starts with ">", a character no folder name may hold. Each
// history is bounded first, and its current entry is the tab's saved path; an
// empty one is written as that path alone. Entries that could not be read
// back as they stand (empty ones, or ones starting with ">") are left out.
[[nodiscard]] std::vector<std::wstring> TabHistoryLines(const std::vector<TabHistory>& histories,
                                                       const std::vector<std::wstring>& tabPaths);

// The lines of one history's block: its ">N" line, then its writable entries,
// the current one written as currentPath. An empty history is written as
// currentPath alone.
[[nodiscard]] std::vector<std::wstring> HistoryBlockLines(TabHistory history, const std::wstring& currentPath);

// The blocks of lines as histories, in order, each bounded; a damaged block (its
// current position missing or past its entries) is an empty history. Lines
// before the first block belong to none.
[[nodiscard]] std::vector<TabHistory> ReadHistoryBlocks(const std::vector<std::wstring>& lines);

// One history for each saved tab, read from the file's lines: the block in
// the tab's place, when its current entry is the tab's folder. A block that
// is damaged, or stale because tabs.txt changed without it, gives that tab an
// empty history; the tabs themselves never depend on the file.
[[nodiscard]] std::vector<TabHistory> MatchTabHistories(const std::vector<std::wstring>& lines,
                                                        const std::vector<std::wstring>& tabPaths);
