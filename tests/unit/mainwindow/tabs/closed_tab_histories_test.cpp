#include "mainwindow/tabs/closed_tab_histories.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ClosedTabHistories, AClosedFolderGetsBackTheListOfTheLatestTabThatShowedIt) {
    ClosedTabHistories closed;
    closed.Remember({{L"C:\\a", L"C:\\x"}, 1});
    closed.Remember({{L"C:\\b", L"C:\\x", L"C:\\c"}, 1});
    closed.Remember({});
    closed.Remember({{L"C:\\y"}, 0});

    EXPECT_EQ(closed.Take(L"c:\\X"), (TabHistory{{L"C:\\b", L"C:\\x", L"C:\\c"}, 1}));
    EXPECT_EQ(closed.Take(L"C:\\x"), (TabHistory{{L"C:\\a", L"C:\\x"}, 1})) << "the older one is still there";
    EXPECT_TRUE(closed.Take(L"C:\\x").Empty()) << "a list was given out twice";
    EXPECT_TRUE(closed.Take(L"C:\\c").Empty()) << "only the folder a tab showed counts";

    for (size_t i = 0; i <= ClosedTabHistories::kKept; ++i) closed.Remember({{L"C:\\many"}, 0});
    EXPECT_TRUE(closed.Take(L"C:\\y").Empty()) << "the oldest list was not let go";
}

}  // namespace
