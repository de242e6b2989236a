#include "mainwindow/tabs/tab_titles.h"

#include <set>
#include <unordered_map>

#include "ui/paths.h"

namespace {

constexpr int kDeepestParent = 3;
constexpr wchar_t kTitleJoin[] = L" — ";

// Whether the tails tell every pair of the group's different folders apart.
bool TailsDiffer(const std::vector<TitleSource>& tabs, const std::vector<size_t>& group, int depth) {
    std::unordered_map<std::wstring, std::wstring> folderOfTail;
    for (const size_t index : group) {
        const std::wstring tail = PathKey(ParentTail(tabs[index].folder, depth));
        const std::wstring folder = PathKey(tabs[index].folder);
        const auto [found, added] = folderOfTail.emplace(tail, folder);
        if (!added && found->second != folder) return false;
    }
    return true;
}

}  // namespace

std::wstring ParentTail(const std::wstring& path, int depth) {
    if (!IsFileSystemPath(path)) return {};
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    if (parts.size() < 2) return {};
    parts.pop_back();
    const size_t first = parts.size() > static_cast<size_t>(depth) ? parts.size() - static_cast<size_t>(depth) : 0;
    std::wstring tail;
    for (size_t i = first; i < parts.size(); ++i) tail += (tail.empty() ? L"" : L"\\") + parts[i];
    return tail;
}

std::vector<std::wstring> TabTitles(const std::vector<TitleSource>& tabs) {
    std::vector<std::wstring> titles;
    std::unordered_map<std::wstring, std::vector<size_t>> sharingName;
    for (size_t i = 0; i < tabs.size(); ++i) {
        titles.push_back(tabs[i].ownName.empty() ? tabs[i].title : tabs[i].ownName);
        if (tabs[i].ownName.empty()) sharingName[PathKey(tabs[i].title)].push_back(i);
    }
    for (const auto& [name, group] : sharingName) {
        std::set<std::wstring> folders;
        for (const size_t index : group) folders.insert(PathKey(tabs[index].folder));
        if (folders.size() < 2) continue;
        int depth = 1;
        while (depth < kDeepestParent && !TailsDiffer(tabs, group, depth)) ++depth;
        for (const size_t index : group) {
            const std::wstring tail = ParentTail(tabs[index].folder, depth);
            if (!tail.empty()) titles[index] += kTitleJoin + tail;
        }
    }
    return titles;
}
