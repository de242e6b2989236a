#pragma once

#include <string>
#include <vector>

#include "stats.h"

// tabsplit.txt lines that split count of the tabs, every third from the
// first, each right pane on the next tab's folder.
[[nodiscard]] std::vector<std::wstring> SplitLines(const std::vector<std::wstring>& tabPaths, int count);

// In a window showing folder, the keys that split the shown tab and that open
// a new tab on the same folder, timed until the new view lists the folder.
// The two alternate in which goes first from run to run.
[[nodiscard]] std::vector<Figure> MeasureSplits(const std::wstring& folder, int runs);
