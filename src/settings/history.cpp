#include "settings/history.h"

#include <cstddef>
#include <utility>

#include "settings/config_dir.h"
#include "settings/line_file.h"
#include "settings/save_failures.h"
#include "settings/save_queue.h"
#include "ui/paths.h"

namespace {

std::wstring HistoryFilePath() { return ConfigFilePath(L"history.txt"); }

// The newest entries the limit keeps, read from the file's end: a file of any
// size costs only those. False when history.txt exists but could not be read;
// writing a list then would replace the user's history with nothing.
bool ReadHistory(const std::wstring& file, int limit, std::vector<std::wstring>& entries) {
    return TryReadLastLines(file, static_cast<size_t>(EffectiveHistoryLimit(limit)), entries);
}

}  // namespace

int EffectiveHistoryLimit(int limit) { return limit <= 0 ? kDefaultHistoryLimit : limit; }

std::vector<std::wstring> PushedHistory(std::vector<std::wstring> entries, const std::wstring& path, int limit) {
    if (path.empty()) return entries;
    std::erase_if(entries, [&path](const std::wstring& entry) { return SamePath(entry, path); });
    entries.push_back(path);
    const auto keep = static_cast<size_t>(EffectiveHistoryLimit(limit));
    if (entries.size() > keep) entries.erase(entries.begin(), entries.end() - static_cast<ptrdiff_t>(keep));
    return entries;
}

std::wstring TakeMostRecent(std::vector<std::wstring>& entries) {
    if (entries.empty()) return {};
    std::wstring last = std::move(entries.back());
    entries.pop_back();
    return last;
}

std::vector<std::wstring> LoadHistory(int limit) {
    FlushSaves();
    std::vector<std::wstring> entries;
    (void)ReadHistory(HistoryFilePath(), limit, entries);
    return entries;
}

void PushHistory(const std::wstring& path, int limit) { PushHistory(std::vector<std::wstring>{path}, limit); }

// One read and one write for them all: each write is a flush to disk.
void PushHistory(std::vector<std::wstring> paths, int limit) {
    std::erase(paths, std::wstring());
    if (paths.empty()) return;
    QueueSave([file = HistoryFilePath(), paths = std::move(paths), limit] {
        std::vector<std::wstring> entries;
        if (!ReadHistory(file, limit, entries)) return;
        for (const std::wstring& path : paths) entries = PushedHistory(std::move(entries), path, limit);
        (void)SaveLines(file, entries);
    });
}

// The user waits for the folder it answers with, so it is made at once, after
// the pushes before it.
std::wstring PopHistory(int limit) {
    FlushSaves();
    const std::wstring file = HistoryFilePath();
    std::vector<std::wstring> entries;
    if (!ReadHistory(file, limit, entries)) return {};
    std::wstring last = TakeMostRecent(entries);
    // An empty history leaves the file alone, and a missing one is not created.
    if (!last.empty()) (void)SaveLines(file, entries);
    return last;
}
