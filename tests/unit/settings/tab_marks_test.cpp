#include "settings/tab_marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_folder_fixture.h"
#include "settings/line_file.h"
#include "settings/load_settings.h"
#include "settings/settings_file.h"

namespace {

using Lines = std::vector<std::wstring>;

const Lines kTabs = {L"C:\\a", L"D:\\b", L"E:\\c"};

TabMarks Marks(bool pinned, const wchar_t* name, int colour, int64_t lastUsed) {
    TabMarks marks;
    marks.pinned = pinned;
    marks.name = name;
    marks.colour = colour;
    marks.lastUsed = lastUsed;
    return marks;
}

// The order of use is written as places from the tab used last and read back
// as times before any tab of the new run; names keep a "|" of their own.
TEST(TabMarks, MarksAreWrittenAndReadBackForTheirTabs) {
    const std::vector<TabMarks> marks = {
        Marks(true, L"项目 | 源码", 2, 40),
        Marks(false, L"", 0, TabMarks::kNeverUsed),
        Marks(false, L"", 6, 41),
    };
    const Lines lines = TabMarksLines(marks, kTabs);
    EXPECT_EQ(lines, (Lines{L"|0|1|2|1|C:\\a|项目 | 源码", L"|1|0|0|2|D:\\b|", L"|2|0|6|0|E:\\c|"}));
    EXPECT_EQ(MatchTabMarks(lines, kTabs), (std::vector<TabMarks>{Marks(true, L"项目 | 源码", 2, -2),
                                                                 Marks(false, L"", 0, -3),
                                                                 Marks(false, L"", 6, -1)}));
}

TEST(TabMarks, DamagedOrStaleLinesCostOnlyTheirOwnMarks) {
    const Lines lines = {
        L"|0|1|1|0|C:\\elsewhere|old",  // stale: tab 0 is C:\a now
        L"|0|2|0|0|C:\\a|",             // pinned is neither 0 nor 1
        L"|0|1|7|0|C:\\a|",             // no such colour
        L"|1|1|3|4|d:\\B|named",        // whole, the path's case aside
        L"|1|0|0|0|D:\\b|twice",        // a tab's second line is not its
        L"|2|0|1|x|E:\\c|",             // no number
        L"|2|0|1|0|E:\\c",              // too few fields
        L"|9|1|0|0|F:\\|",              // no such tab
        L"C:\\a",                       // no line of ours
    };
    const std::vector<TabMarks> marks = MatchTabMarks(lines, kTabs);
    EXPECT_EQ(marks, (std::vector<TabMarks>{{}, Marks(true, L"named", 3, -5), {}}));
}

TEST(TabMarks, TypedNamesAreTrimmedKeptOnOneLineAndCut) {
    EXPECT_EQ(CleanTabName(L"  工作\t"), L"工作");
    EXPECT_EQ(CleanTabName(L"a\r\nb"), L"a  b");
    EXPECT_EQ(CleanTabName(L" \t "), L"");
    EXPECT_EQ(CleanTabName(std::wstring(500, L'x')).size(), kTabNameLimit);
}

using TabMarksFile = ConfigFolderTest;

TEST_F(TabMarksFile, IsSavedWithTheTabsAndLostAloneWhenDamaged) {
    Settings settings;
    settings.TabPaths = kTabs;
    settings.TabMarkings = {Marks(true, L"", 0, 5), Marks(false, L"名字", 4, 9), {}};
    SaveTabList(settings);
    EXPECT_EQ(LoadSettings().TabMarkings, (std::vector<TabMarks>{Marks(true, L"", 0, -2), Marks(false, L"名字", 4, -1),
                                                                 Marks(false, L"", 0, -3)}));

    ASSERT_TRUE(WriteLines(ConfigFilePath(kTabMarksFileName), {L"garbage", L"|x|"}));
    const Settings loaded = LoadSettings();
    EXPECT_EQ(loaded.TabPaths, kTabs);
    EXPECT_EQ(loaded.TabMarkings, std::vector<TabMarks>(kTabs.size()));
}

}  // namespace
