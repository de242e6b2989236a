#include "settings/tab_splits.h"

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

TEST(TabSplits, SplitTabsAreWrittenAndReadBackForTheirTabsAlone) {
    const std::vector<TabSplit> splits = {
        {true, 350, true, {{L"C:\\x", L"C:\\y"}, 1}},
        {},
        // A split with no list of its own opens its right pane on the tab's folder.
        {true, kEvenDivider, false, {}},
    };
    const Lines lines = TabSplitLines(splits, kTabs);
    EXPECT_EQ(lines, (Lines{L"|0|350|1|C:\\a", L">1", L"C:\\x", L"C:\\y", L"|2|500|0|E:\\c", L">0", L"E:\\c"}));
    EXPECT_EQ(MatchTabSplits(lines, kTabs),
              (std::vector<TabSplit>{splits[0], {}, {true, kEvenDivider, false, {{L"E:\\c"}, 0}}}));
    EXPECT_TRUE(TabSplitLines({}, kTabs).empty());
}

TEST(TabSplits, DamagedOrStaleLinesCostOnlyTheirOwnSplit) {
    const Lines lines = {
        L"C:\\stray",                           // before any split: no tab's
        L"|0|350|1|C:\\elsewhere", L">0", L"C:\\x",  // stale: tab 0 is C:\a now
        L"|1|abc|0|D:\\b", L">0", L"D:\\x",          // no number
        L"|1|300|0|d:\\B", L">5", L"D:\\y",          // its block is damaged
        L"|2|999999|1|E:\\c", L">0", L"E:\\z",       // whole, its divider bounded
        L"|2|400|0|E:\\c", L">0", L"E:\\twice",      // a tab's second line is not its
        L"|7|500|0|F:\\", L">0", L"F:\\x",           // no such tab
        L"|0|500|0", L">0", L"C:\\x",                // too few fields
    };
    const std::vector<TabSplit> splits = MatchTabSplits(lines, kTabs);
    ASSERT_EQ(splits.size(), kTabs.size());
    EXPECT_FALSE(splits[0].split);
    EXPECT_FALSE(splits[1].split);
    EXPECT_EQ(splits[2], (TabSplit{true, kWidestDivider, true, {{L"E:\\z"}, 0}}));
}

TEST(TabSplits, DividerPositionsStayWithinTheirBounds) {
    EXPECT_EQ(BoundedDivider(0), kNarrowestDivider);
    EXPECT_EQ(BoundedDivider(-40), kNarrowestDivider);
    EXPECT_EQ(BoundedDivider(kNarrowestDivider), kNarrowestDivider);
    EXPECT_EQ(BoundedDivider(613), 613);
    EXPECT_EQ(BoundedDivider(5000), kWidestDivider);
}

using TabSplitFile = ConfigFolderTest;

// The file comes and goes with the tab list; one larger than any tab list
// writes is not read, and costs only the splits.
TEST_F(TabSplitFile, IsSavedWithTheTabsAndAnOversizedOneIsLeftUnread) {
    Settings settings;
    settings.TabPaths = kTabs;
    settings.TabSplits = {{}, {true, 250, false, {{L"D:\\r"}, 0}}, {}};
    SaveTabList(settings);
    EXPECT_EQ(LoadSettings().TabSplits, settings.TabSplits);

    Lines huge = {L"|1|250|0|D:\\b", L">0"};
    huge.insert(huge.end(), 300000, std::wstring(20, L'x'));
    huge.push_back(L"D:\\r");
    ASSERT_TRUE(WriteLines(ConfigFilePath(kTabSplitFileName), huge));
    const Settings loaded = LoadSettings();
    EXPECT_EQ(loaded.TabPaths, kTabs);
    EXPECT_EQ(loaded.TabSplits, std::vector<TabSplit>(kTabs.size()));
}

}  // namespace
