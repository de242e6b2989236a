#include "settings/tab_histories.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_folder_fixture.h"
#include "settings/line_file.h"
#include "settings/load_settings.h"
#include "settings/settings_file.h"

namespace {

using Lines = std::vector<std::wstring>;

Lines Numbered(int count) {
    Lines paths;
    for (int i = 0; i < count; ++i) paths.push_back(L"C:\\f" + std::to_wstring(i));
    return paths;
}

TEST(TabHistories, WrittenListsReadBackForTheirTabs) {
    const Lines tabs = {L"C:\\a\\b", L"D:\\", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"};
    const std::vector<TabHistory> histories = {
        {{L"C:\\a", L"C:\\a\\b", L"C:\\a\\b\\c"}, 1},
        {},  // a tab with no list of its own is written as its folder alone
        {{L"C:\\", tabs[2]}, 1},
    };
    const Lines lines = TabHistoryLines(histories, tabs);
    EXPECT_EQ(lines, (Lines{L">1", L"C:\\a", L"C:\\a\\b", L"C:\\a\\b\\c", L">0", L"D:\\", L">1", L"C:\\", tabs[2]}));
    const std::vector<TabHistory> read = MatchTabHistories(lines, tabs);
    EXPECT_EQ(read, (std::vector<TabHistory>{histories[0], {{L"D:\\"}, 0}, histories[2]}));
}

TEST(TabHistories, TheCurrentEntryIsWrittenAsTheTabIsSavedAndUnreadableEntriesAreLeftOut) {
    // A tab showing search results is saved as the folder searched.
    const Lines lines =
        TabHistoryLines({{{L"C:\\a", L"", L">odd", L"search-ms:results", L"C:\\z"}, 3}}, {L"C:\\searched"});
    EXPECT_EQ(lines, (Lines{L">1", L"C:\\a", L"C:\\searched", L"C:\\z"}));
}

TEST(TabHistories, OnlyTheEntriesNearestTheCurrentOneAreKept) {
    const Lines hundred = Numbered(100);
    struct Case {
        int current;
        size_t first;
        int keptCurrent;
    };
    for (const Case c : {Case{0, 0, 0}, Case{60, 35, 25}, Case{99, 50, 49}, Case{10, 0, 10}}) {
        const TabHistory bounded = BoundedHistory({hundred, c.current});
        ASSERT_EQ(bounded.entries.size(), kTabHistoryKept) << c.current;
        EXPECT_EQ(bounded.entries.front(), hundred[c.first]) << c.current;
        EXPECT_EQ(bounded.current, c.keptCurrent) << c.current;
        EXPECT_EQ(bounded.entries[static_cast<size_t>(bounded.current)], hundred[static_cast<size_t>(c.current)]);
    }
    EXPECT_EQ(BoundedHistory({Numbered(3), 2}), (TabHistory{Numbered(3), 2}));
    EXPECT_TRUE(BoundedHistory({Numbered(3), 3}).Empty());
    EXPECT_TRUE(BoundedHistory({{}, 0}).Empty());
    // A hand-made list of any length comes back bounded.
    Lines huge = {L">70000"};
    const Lines many = Numbered(100000);
    huge.insert(huge.end(), many.begin(), many.end());
    EXPECT_EQ(MatchTabHistories(huge, {L"C:\\f70000"})[0].entries.size(), kTabHistoryKept);
}

TEST(TabHistories, DamagedOrStaleBlocksCostOnlyTheirOwnTab) {
    const Lines tabs = {L"C:\\one", L"C:\\two", L"C:\\three", L"C:\\four", L"C:\\five"};
    const Lines lines = {
        L"C:\\before any block",
        L">1", L"C:\\zero", L"c:\\ONE\\",          // matches: case and a trailing backslash do not count
        L">x1", L"C:\\two",                        // no number
        L">5", L"C:\\three",                       // past its entries
        L">0", L"C:\\moved",                       // tabs.txt changed without this file
        L">-1", L"C:\\five",                       // no negative positions
        L">0", L"C:\\six",                         // more blocks than tabs
    };
    const std::vector<TabHistory> read = MatchTabHistories(lines, tabs);
    ASSERT_EQ(read.size(), tabs.size());
    EXPECT_EQ(read[0], (TabHistory{{L"C:\\zero", L"c:\\ONE\\"}, 1}));
    for (size_t tab = 1; tab < tabs.size(); ++tab) EXPECT_TRUE(read[tab].Empty()) << tab;
    EXPECT_EQ(MatchTabHistories({}, tabs).size(), tabs.size());
    EXPECT_TRUE(MatchTabHistories(lines, {}).empty());
}

class TabHistoryFileTest : public ConfigFolderTest {};

TEST_F(TabHistoryFileTest, SavedWithTheTabListAndLoadedWithIt) {
    Settings saved;
    saved.TabPaths = {L"C:\\a\\b", L"C:\\x"};
    saved.TabHistories = {{{L"C:\\a", L"C:\\a\\b"}, 1}, {{L"C:\\x", L"C:\\y"}, 0}};
    SaveTabList(saved);
    FlushSaves();
    EXPECT_EQ(ReadLines(ConfigFolder() + L"tabs.txt"), saved.TabPaths) << "tabs.txt changed its form";
    EXPECT_EQ(LoadSettings().TabHistories, saved.TabHistories);

    // A file larger than any list of ours is read only up to its limit, and
    // the tabs load as they are.
    Lines big = {L">0", L"C:\\a\\b"};
    big.insert(big.end(), 70000, std::wstring(60, L'x'));
    ASSERT_TRUE(WriteLines(ConfigFolder() + kTabHistoryFileName, big));
    const Settings loaded = LoadSettings();
    EXPECT_EQ(loaded.TabPaths, saved.TabPaths);
    EXPECT_EQ(loaded.TabHistories[0].current, 0);
    EXPECT_TRUE(loaded.TabHistories[1].Empty());
}

}  // namespace
