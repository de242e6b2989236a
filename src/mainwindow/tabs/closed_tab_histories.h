#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "settings/tab_histories.h"

// The back and forward lists of the tabs closed in this run, so that a closed
// folder opened again from the closed-folder history gets its list back. The
// history file keeps only the folders; these live as long as the process.
class ClosedTabHistories {
public:
    // Lists kept at most, the oldest going first.
    static constexpr size_t kKept = 100;

    // Keeps the list of a tab that closed; an empty one is not kept.
    void Remember(TabHistory history);

    // The list of the latest closed tab that showed path, taken out; empty when
    // none did.
    [[nodiscard]] TabHistory Take(const std::wstring& path);

private:
    std::deque<TabHistory> histories;
};
