#include <gtest/gtest.h>

#include "app/message_loop.h"

namespace {

TEST(KeyboardRouting, EditBoxesAndTheNavigationTreeAreToldApart) {
    EXPECT_EQ(KeyFocusOfClass(L"Edit"), KeyFocus::TextBox);
    EXPECT_EQ(KeyFocusOfClass(L"EDIT"), KeyFocus::TextBox);
    EXPECT_EQ(KeyFocusOfClass(L"systreeview32"), KeyFocus::Tree);
    EXPECT_EQ(KeyFocusOfClass(L"SysListView32"), KeyFocus::Elsewhere);
    EXPECT_EQ(KeyFocusOfClass(L"DirectUIHWND"), KeyFocus::Elsewhere);
    EXPECT_EQ(KeyFocusOfClass(L"Edit2"), KeyFocus::Elsewhere);
    EXPECT_EQ(KeyFocusOfClass(L""), KeyFocus::Elsewhere);
}

}  // namespace
