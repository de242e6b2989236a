#include "settings/tab_splits.h"

#include <optional>
#include <string_view>
#include <utility>

#include "settings/line_fields.h"
#include "ui/paths.h"

namespace {

constexpr wchar_t kSplitMark = L'|';

struct SplitHeader {
    size_t tab = 0;
    int divider = kEvenDivider;
    bool rightFocused = false;
    std::wstring path;
};

// "|index|divider|focus|path"; nothing when any field is not as written.
std::optional<SplitHeader> ReadHeader(std::wstring_view line) {
    std::wstring_view fields[3];
    line.remove_prefix(1);
    if (!TakeFields(line, fields, kSplitMark)) return std::nullopt;
    const std::optional<int> tab = SmallNumber(fields[0]);
    const std::optional<int> divider = SmallNumber(fields[1]);
    if (!tab || !divider || (fields[2] != L"0" && fields[2] != L"1") || line.empty()) return std::nullopt;
    return SplitHeader{static_cast<size_t>(*tab), BoundedDivider(*divider), fields[2] == L"1", std::wstring(line)};
}

}  // namespace

int BoundedDivider(int thousandths) {
    if (thousandths < kNarrowestDivider) return kNarrowestDivider;
    if (thousandths > kWidestDivider) return kWidestDivider;
    return thousandths;
}

std::vector<std::wstring> TabSplitLines(const std::vector<TabSplit>& splits,
                                        const std::vector<std::wstring>& tabPaths) {
    std::vector<std::wstring> lines;
    for (size_t tab = 0; tab < tabPaths.size() && tab < splits.size(); ++tab) {
        const TabSplit& split = splits[tab];
        if (!split.split) continue;
        lines.push_back(kSplitMark + std::to_wstring(tab) + kSplitMark + std::to_wstring(BoundedDivider(split.divider)) +
                        kSplitMark + (split.rightFocused ? L"1" : L"0") + kSplitMark + tabPaths[tab]);
        const TabHistory right = BoundedHistory(split.right);
        const std::wstring shown =
            right.Empty() ? tabPaths[tab] : right.entries[static_cast<size_t>(right.current)];
        const std::vector<std::wstring> block = HistoryBlockLines(right, shown.empty() ? tabPaths[tab] : shown);
        lines.insert(lines.end(), block.begin(), block.end());
    }
    return lines;
}

std::vector<TabSplit> MatchTabSplits(const std::vector<std::wstring>& lines,
                                     const std::vector<std::wstring>& tabPaths) {
    std::vector<TabSplit> splits(tabPaths.size());
    std::optional<SplitHeader> header;
    std::vector<std::wstring> block;
    const auto take = [&] {
        if (!header || header->tab >= tabPaths.size() || splits[header->tab].split ||
            !SamePath(header->path, tabPaths[header->tab])) {
            return;
        }
        std::vector<TabHistory> histories = ReadHistoryBlocks(block);
        if (histories.size() != 1 || histories.front().Empty()) return;
        splits[header->tab] = TabSplit{true, header->divider, header->rightFocused, std::move(histories.front())};
    };
    for (const std::wstring& line : lines) {
        if (line.empty() || line.front() != kSplitMark) {
            block.push_back(line);
            continue;
        }
        take();
        header = ReadHeader(line);
        block.clear();
    }
    take();
    return splits;
}
