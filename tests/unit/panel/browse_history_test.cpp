#include "panel/browse_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(BrowseHistory, BackAndForwardStopAtTheEnds) {
    BrowseHistory<std::string> history;
    EXPECT_EQ(history.Back(), nullptr);
    EXPECT_EQ(history.Forward(), nullptr);

    history.Push("a");
    history.Push("b");
    history.Push("c");
    EXPECT_EQ(history.Index(), 2);
    EXPECT_EQ(history.Forward(), nullptr);
    EXPECT_EQ(history.Index(), 2);

    ASSERT_NE(history.Back(), nullptr);
    ASSERT_NE(history.Back(), nullptr);
    EXPECT_EQ(history.Index(), 0);
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_EQ(history.Back(), nullptr);
    EXPECT_EQ(history.Index(), 0);

    const std::string* forward = history.Forward();
    ASSERT_NE(forward, nullptr);
    EXPECT_EQ(*forward, "b");
    EXPECT_TRUE(history.CanGoForward());
}

TEST(BrowseHistory, GoingSomewhereNewOrReplacingAfterGoingBackDropsTheForwardPart) {
    BrowseHistory<std::string> history;
    history.Push("a");
    history.Push("b");
    history.Push("c");
    (void)history.Back();
    (void)history.Back();
    history.Push("d");
    EXPECT_EQ(history.Size(), 2);
    EXPECT_EQ(history.Index(), 1);
    EXPECT_FALSE(history.CanGoForward());

    // Replacing the current entry drops the forward part too, and keeps what came before.
    history.Push("e");
    (void)history.Back();
    history.ReplaceCurrent("d2");
    EXPECT_EQ(history.Size(), 2);
    EXPECT_FALSE(history.CanGoForward());
    const std::string* back = history.Back();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(*back, "a");
}

TEST(BrowseHistory, ClearForgetsEverythingAndAssignTakesOverAWholeList) {
    BrowseHistory<std::string> history;
    history.Push("a");
    history.Clear();
    EXPECT_EQ(history.Size(), 0);
    EXPECT_EQ(history.Index(), -1);
    history.Push("b");
    EXPECT_EQ(history.Index(), 0);

    history.Assign({"x", "y", "z"}, 1);
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_TRUE(history.CanGoBack());
    EXPECT_TRUE(history.CanGoForward());
    ASSERT_NE(history.Forward(), nullptr);
    history.MoveTo(1);
    EXPECT_EQ(history.Index(), 1);
    history.MoveTo(7);
    EXPECT_EQ(history.Index(), 1) << "moved outside the list";
    history.Assign({"x"}, 1);
    EXPECT_EQ(history.Size(), 0) << "a position outside the list was taken";
}

}  // namespace
