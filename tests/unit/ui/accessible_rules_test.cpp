#include "ui/accessible_rules.h"

#include <gtest/gtest.h>

namespace {

// A screen reader follows the focus event: a tab made active from the file
// view, a text box or a drag must not be read as where the keys now go.
TEST(ActiveItemEvents, TheFocusIsAnnouncedOnlyWhereItIs) {
    EXPECT_EQ(ActiveItemEvents(true), (std::vector<DWORD>{EVENT_OBJECT_SELECTION, EVENT_OBJECT_FOCUS}));
    EXPECT_EQ(ActiveItemEvents(false), std::vector<DWORD>{EVENT_OBJECT_SELECTION});
}

}  // namespace
