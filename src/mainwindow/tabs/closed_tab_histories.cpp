#include "mainwindow/tabs/closed_tab_histories.h"

#include <utility>

#include "ui/paths.h"

void ClosedTabHistories::Remember(TabHistory history) {
    history = BoundedHistory(std::move(history));
    if (history.Empty()) return;
    histories.push_back(std::move(history));
    if (histories.size() > kKept) histories.pop_front();
}

TabHistory ClosedTabHistories::Take(const std::wstring& path) {
    for (auto it = histories.rbegin(); it != histories.rend(); ++it) {
        if (!SamePath(it->entries[static_cast<size_t>(it->current)], path)) continue;
        TabHistory taken = std::move(*it);
        histories.erase(std::next(it).base());
        return taken;
    }
    return {};
}
