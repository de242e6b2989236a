#include "mainwindow/tabs/closed_tab_histories.h"

#include <utility>

#include "ui/paths.h"

void ClosedTabHistories::Remember(TabState state) {
    state.history = BoundedHistory(std::move(state.history));
    if (state.history.Empty()) return;
    states.push_back(std::move(state));
    if (states.size() > kKept) states.pop_front();
}

TabState ClosedTabHistories::Take(const std::wstring& path) {
    for (auto it = states.rbegin(); it != states.rend(); ++it) {
        const TabHistory& history = it->history;
        if (!SamePath(history.entries[static_cast<size_t>(history.current)], path)) continue;
        TabState taken = std::move(*it);
        states.erase(std::next(it).base());
        return taken;
    }
    return {};
}
