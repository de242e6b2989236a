#pragma once

#include "settings/tab_histories.h"
#include "settings/tab_splits.h"

// What a tab takes along when it is saved, closed, duplicated or moved to
// another window: its back and forward list and its second pane.
struct TabState {
    TabHistory history;
    TabSplit split;
};
