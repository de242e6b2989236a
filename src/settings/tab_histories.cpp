#include "settings/tab_histories.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "settings/line_fields.h"
#include "ui/paths.h"

namespace {

constexpr wchar_t kBlockMark = L'>';

// The current position a block's first line gives, or nothing for a line that
// is no plain decimal.
std::optional<size_t> BlockCurrent(std::wstring_view line) {
    line.remove_prefix(1);
    const std::optional<int> current = SmallNumber(line);
    if (!current) return std::nullopt;
    return static_cast<size_t>(*current);
}

struct Block {
    std::optional<size_t> current;
    std::vector<std::wstring> entries;
};

std::vector<Block> SplitBlocks(const std::vector<std::wstring>& lines) {
    std::vector<Block> blocks;
    for (const std::wstring& line : lines) {
        if (!line.empty() && line.front() == kBlockMark) {
            blocks.push_back(Block{BlockCurrent(line), {}});
        } else if (!blocks.empty()) {
            // Lines before the first block belong to no tab.
            blocks.back().entries.push_back(line);
        }
    }
    return blocks;
}

}  // namespace

KeptEntries KeptEntriesAround(size_t count, int current, size_t kept) {
    if (current < 0 || static_cast<size_t>(current) >= count || kept == 0) return {};
    const auto at = static_cast<size_t>(current);
    const size_t first = count <= kept ? 0 : std::min(at - std::min(at, kept / 2), count - kept);
    return KeptEntries{first, std::min(count, first + kept), static_cast<int>(at - first)};
}

TabHistory BoundedHistory(TabHistory history, size_t kept) {
    const KeptEntries part = KeptEntriesAround(history.entries.size(), history.current, kept);
    if (part.current < 0) return {};
    history.entries.erase(history.entries.begin() + static_cast<ptrdiff_t>(part.end), history.entries.end());
    history.entries.erase(history.entries.begin(), history.entries.begin() + static_cast<ptrdiff_t>(part.first));
    history.current = part.current;
    return history;
}

namespace {

// A line that reads back as the same entry of the same block.
bool Writable(const std::wstring& entry) { return !entry.empty() && entry.front() != kBlockMark; }

}  // namespace

std::vector<std::wstring> HistoryBlockLines(TabHistory history, const std::wstring& currentPath) {
    history = BoundedHistory(std::move(history));
    if (history.Empty()) history = TabHistory{{currentPath}, 0};
    const auto current = static_cast<size_t>(history.current);
    history.entries[current] = currentPath;
    const auto unwritableBefore = std::count_if(history.entries.begin(),
                                                history.entries.begin() + static_cast<ptrdiff_t>(current),
                                                [](const std::wstring& entry) { return !Writable(entry); });
    std::vector<std::wstring> lines{kBlockMark + std::to_wstring(current - static_cast<size_t>(unwritableBefore))};
    std::copy_if(history.entries.begin(), history.entries.end(), std::back_inserter(lines), Writable);
    return lines;
}

std::vector<std::wstring> TabHistoryLines(const std::vector<TabHistory>& histories,
                                          const std::vector<std::wstring>& tabPaths) {
    std::vector<std::wstring> lines;
    for (size_t tab = 0; tab < tabPaths.size(); ++tab) {
        // The tab is saved as the folder it stands for (the folder searched,
        // say, rather than the results), and that is where it opens again.
        const std::vector<std::wstring> block =
            HistoryBlockLines(tab < histories.size() ? histories[tab] : TabHistory{}, tabPaths[tab]);
        lines.insert(lines.end(), block.begin(), block.end());
    }
    return lines;
}

std::vector<TabHistory> ReadHistoryBlocks(const std::vector<std::wstring>& lines) {
    std::vector<TabHistory> histories;
    for (Block& block : SplitBlocks(lines)) {
        if (!block.current || *block.current >= block.entries.size()) {
            histories.emplace_back();
            continue;
        }
        histories.push_back(
            BoundedHistory(TabHistory{std::move(block.entries), static_cast<int>(*block.current)}));
    }
    return histories;
}

std::vector<TabHistory> MatchTabHistories(const std::vector<std::wstring>& lines,
                                          const std::vector<std::wstring>& tabPaths) {
    std::vector<TabHistory> blocks = ReadHistoryBlocks(lines);
    std::vector<TabHistory> histories(tabPaths.size());
    for (size_t tab = 0; tab < tabPaths.size() && tab < blocks.size(); ++tab) {
        TabHistory& history = blocks[tab];
        if (!history.Empty() && SamePath(history.entries[static_cast<size_t>(history.current)], tabPaths[tab])) {
            histories[tab] = std::move(history);
        }
    }
    return histories;
}
