#include "mainwindow/tabs/tab_titles.h"

#include <gtest/gtest.h>

namespace {

using Titles = std::vector<std::wstring>;

TEST(TabTitles, FoldersSharingANameAddAsMuchOfTheirParentsAsTellsThemApart) {
    EXPECT_EQ(TabTitles({{L"src", L"C:\\项目A\\src", L""},
                         {L"src", L"C:\\项目B\\src", L""},
                         {L"docs", L"C:\\项目A\\docs", L""}}),
              (Titles{L"src — 项目A", L"src — 项目B", L"docs"}));
    // The parents share a name too: a folder further up tells them apart.
    EXPECT_EQ(TabTitles({{L"src", L"C:\\one\\app\\src", L""}, {L"SRC", L"D:\\two\\app\\src", L""}}),
              (Titles{L"src — one\\app", L"SRC — two\\app"}));
    // A drive's root has the drive for its parent; a folder with no path has none.
    EXPECT_EQ(TabTitles({{L"src", L"D:\\src", L""}, {L"src", L"::{CLSID}\\src", L""}}),
              (Titles{L"src — D:", L"src"}));
}

TEST(TabTitles, OwnNamesAndTabsOfOneFolderStandAsTheyAre) {
    EXPECT_EQ(TabTitles({{L"src", L"C:\\a\\src", L"前端"}, {L"src", L"C:\\b\\src", L""}}),
              (Titles{L"前端", L"src"}));
    EXPECT_EQ(TabTitles({{L"src", L"C:\\a\\src", L""}, {L"src", L"c:\\A\\src\\", L""}}), (Titles{L"src", L"src"}));
}

}  // namespace
