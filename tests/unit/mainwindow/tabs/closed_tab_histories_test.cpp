#include "mainwindow/tabs/closed_tab_histories.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TabState Showing(TabHistory history, TabSplit split = {}, TabMarks marks = {}) {
    return TabState{std::move(history), std::move(split), std::move(marks)};
}

TEST(ClosedTabHistories, AClosedFolderGetsBackTheListSplitAndMarksOfTheLatestTabThatShowedIt) {
    ClosedTabHistories closed;
    const TabSplit split{true, 300, true, {{L"D:\\right"}, 0}};
    TabMarks marks;
    marks.pinned = true;
    marks.name = L"工作";
    closed.Remember(Showing({{L"C:\\a", L"C:\\x"}, 1}));
    closed.Remember(Showing({{L"C:\\b", L"C:\\x", L"C:\\c"}, 1}, split, marks));
    closed.Remember({});
    closed.Remember(Showing({{L"C:\\y"}, 0}));

    const TabState latest = closed.Take(L"c:\\X");
    EXPECT_EQ(latest.history, (TabHistory{{L"C:\\b", L"C:\\x", L"C:\\c"}, 1}));
    EXPECT_EQ(latest.split, split);
    EXPECT_EQ(latest.marks, marks);
    EXPECT_EQ(closed.Take(L"C:\\x").history, (TabHistory{{L"C:\\a", L"C:\\x"}, 1})) << "the older one is still there";
    EXPECT_TRUE(closed.Take(L"C:\\x").history.Empty()) << "a list was given out twice";
    EXPECT_TRUE(closed.Take(L"C:\\c").history.Empty()) << "only the folder a tab showed counts";

    for (size_t i = 0; i <= ClosedTabHistories::kKept; ++i) closed.Remember(Showing({{L"C:\\many"}, 0}));
    EXPECT_TRUE(closed.Take(L"C:\\y").history.Empty()) << "the oldest list was not let go";
}

}  // namespace
