#pragma once

#include <string>
#include <vector>

#include "settings/settings.h"

// The history of closed folders in history.txt, oldest first and most recent
// last. Every operation reads the file and writes it back; nothing is kept in
// memory between calls. A push is a queued save (settings/save_queue.h); a load
// or a pop first waits for the saves asked for before it.

// A limit of zero or below means the default.
[[nodiscard]] int EffectiveHistoryLimit(int limit);

// The history after closing `path`: earlier entries for the same folder are
// removed, the path goes to the end unchanged, and the oldest entries beyond
// `limit` are dropped.
[[nodiscard]] std::vector<std::wstring> PushedHistory(std::vector<std::wstring> entries, const std::wstring& path,
                                                      int limit);

// Removes the most recent entry and returns it; empty when there is none.
[[nodiscard]] std::wstring TakeMostRecent(std::vector<std::wstring>& entries);

// The stored history: its newest `limit` entries, which is what the limit keeps
// of a longer file. An unreadable file is an empty history.
[[nodiscard]] std::vector<std::wstring> LoadHistory(int limit);

// Records a closed folder. Does nothing for an empty path.
void PushHistory(const std::wstring& path, int limit);
// Records closed folders in this order, the last the most recent.
void PushHistory(std::vector<std::wstring> paths, int limit);

// Removes the most recent folder from the history and returns it; empty when
// the history is empty. Writes the file before it returns.
[[nodiscard]] std::wstring PopHistory(int limit);
