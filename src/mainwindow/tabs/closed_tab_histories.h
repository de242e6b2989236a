#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "mainwindow/tabs/tab_state.h"

// The back and forward lists and splits of the tabs closed in this run, so that
// a closed folder opened again from the closed-folder history gets them back.
// The history file keeps only the folders; these live as long as the process.
class ClosedTabHistories {
public:
    // Lists kept at most, the oldest going first.
    static constexpr size_t kKept = 100;

    // Keeps what a tab that closed takes along; one with an empty list is not kept.
    void Remember(TabState state);

    // What the latest closed tab that showed path took along, taken out; empty
    // when none did.
    [[nodiscard]] TabState Take(const std::wstring& path);

private:
    std::deque<TabState> states;
};
