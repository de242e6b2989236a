#include "settings/tab_marks.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "settings/line_fields.h"
#include "ui/paths.h"
#include "ui/text.h"

namespace {

constexpr wchar_t kMarksMark = L'|';

struct MarksLine {
    size_t tab = 0;
    int recent = 0;
    std::wstring path;
    TabMarks marks;
};

// "|index|pinned|colour|recent|path|name"; nothing when any field is not as written.
std::optional<MarksLine> ReadMarksLine(std::wstring_view line) {
    if (line.empty() || line.front() != kMarksMark) return std::nullopt;
    line.remove_prefix(1);
    std::wstring_view fields[5];
    if (!TakeFields(line, fields, kMarksMark)) return std::nullopt;
    const std::optional<int> tab = SmallNumber(fields[0]);
    const std::optional<int> colour = SmallNumber(fields[2]);
    const std::optional<int> recent = SmallNumber(fields[3]);
    if (!tab || (fields[1] != L"0" && fields[1] != L"1") || !colour || *colour > kTabColourCount || !recent ||
        fields[4].empty()) {
        return std::nullopt;
    }
    MarksLine read{static_cast<size_t>(*tab), *recent, std::wstring(fields[4]), {}};
    read.marks.pinned = fields[1] == L"1";
    read.marks.colour = *colour;
    read.marks.name = CleanTabName(line);
    return read;
}

}  // namespace

std::wstring CleanTabName(std::wstring_view typed) {
    std::wstring name(typed);
    std::replace_if(name.begin(), name.end(), [](wchar_t c) { return c < L' ' || c == L'\x7f'; }, L' ');
    name = TrimBlanks(name);
    if (name.size() > kTabNameLimit) name.resize(kTabNameLimit);
    return name;
}

std::vector<std::wstring> TabMarksLines(const std::vector<TabMarks>& marks,
                                        const std::vector<std::wstring>& tabPaths) {
    const size_t count = std::min(marks.size(), tabPaths.size());
    std::vector<size_t> byUse(count);
    std::iota(byUse.begin(), byUse.end(), size_t{0});
    std::stable_sort(byUse.begin(), byUse.end(),
                     [&](size_t a, size_t b) { return marks[a].lastUsed > marks[b].lastUsed; });
    std::vector<size_t> recent(count);
    for (size_t place = 0; place < count; ++place) recent[byUse[place]] = place;

    std::vector<std::wstring> lines;
    for (size_t tab = 0; tab < count; ++tab) {
        const TabMarks& mark = marks[tab];
        const int colour = mark.colour >= 0 && mark.colour <= kTabColourCount ? mark.colour : 0;
        lines.push_back(kMarksMark + std::to_wstring(tab) + kMarksMark + (mark.pinned ? L"1" : L"0") + kMarksMark +
                        std::to_wstring(colour) + kMarksMark + std::to_wstring(recent[tab]) + kMarksMark +
                        tabPaths[tab] + kMarksMark + CleanTabName(mark.name));
    }
    return lines;
}

std::vector<TabMarks> MatchTabMarks(const std::vector<std::wstring>& lines,
                                    const std::vector<std::wstring>& tabPaths) {
    std::vector<TabMarks> marks(tabPaths.size());
    std::vector<bool> matched(tabPaths.size(), false);
    for (const std::wstring& line : lines) {
        std::optional<MarksLine> read = ReadMarksLine(line);
        if (!read || read->tab >= tabPaths.size() || matched[read->tab] || !SamePath(read->path, tabPaths[read->tab])) {
            continue;
        }
        matched[read->tab] = true;
        read->marks.lastUsed = -1 - static_cast<int64_t>(read->recent);
        marks[read->tab] = std::move(read->marks);
    }
    return marks;
}
