#pragma once

#include <vector>

#include "stats.h"

// Times the configuration store's operations at sizes users reach: loading
// settings with 32 favourites and 200 tabs, adding to a 10,000-entry history,
// saving 200 tabs. Microseconds, one sample per run.
[[nodiscard]] std::vector<Figure> MeasureConfigurationStore(int runs);
