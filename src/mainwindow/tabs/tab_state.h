#pragma once

#include "settings/tab_histories.h"
#include "settings/tab_marks.h"
#include "settings/tab_splits.h"

// What a tab takes along when it is saved, closed, duplicated or moved to
// another window: its back and forward list, its second pane and its marks.
struct TabState {
    TabHistory history;
    TabSplit split;
    TabMarks marks;
};
