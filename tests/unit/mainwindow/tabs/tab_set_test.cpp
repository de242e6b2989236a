#include "mainwindow/tabs/tab_set.h"

#include <gtest/gtest.h>

#include "common/temp_folder.h"
#include "mainwindow/tabs/drive_waits.h"
#include "mainwindow/tabs/tab_list.h"
#include "mainwindow/tabs/tab_restore.h"

namespace {

// Unbuilt tabs, one per folder, "A" active unless said otherwise.
TabSet TabsOf(std::initializer_list<const wchar_t*> folders, int active = 0) {
    TabSet tabs;
    for (const wchar_t* folder : folders) tabs.Insert(tabs.Count(), UnbuiltTab(folder));
    tabs.SetActive(active);
    return tabs;
}

std::wstring Folders(const TabSet& tabs) {
    std::wstring folders;
    for (int i = 0; i < tabs.Count(); ++i) folders += tabs.FolderAt(i);
    return folders;
}

TEST(TabSet, TheActiveTabStaysTheSameTabAsOthersComeGoAndMove) {
    TabSet tabs = TabsOf({L"A", L"B", L"C"}, 1);
    tabs.Insert(0, UnbuiltTab(L"D"));
    EXPECT_EQ(tabs.FolderAt(tabs.Active()), L"B");
    EXPECT_EQ(tabs.Insert(99, UnbuiltTab(L"E")), 4);

    TabSet::Removal removal = tabs.Remove(0);
    EXPECT_EQ(removal.activate, -1);
    EXPECT_EQ(tabs.FolderAt(tabs.Active()), L"B");

    EXPECT_TRUE(tabs.Move(0, 3));
    EXPECT_EQ(Folders(tabs), L"BCEA");
    EXPECT_EQ(tabs.FolderAt(tabs.Active()), L"B");
    EXPECT_FALSE(tabs.Move(2, 2));
}

TEST(TabSet, ARemovedActiveTabHandsOverWithoutActivatingItself) {
    TabSet tabs = TabsOf({L"A", L"B", L"C"}, 2);
    TabSet::Removal removal = tabs.Remove(2);
    ASSERT_EQ(removal.tabs.size(), 1u);
    EXPECT_EQ(TabFolder(removal.tabs[0]), L"C");
    // The window activates the neighbour: it may need a panel first.
    EXPECT_EQ(tabs.Active(), -1);
    EXPECT_EQ(removal.activate, 1);

    tabs = TabsOf({L"A", L"B", L"C", L"D"}, 0);
    removal = tabs.KeepOnly(1, 2, 2);
    EXPECT_EQ(Folders(tabs), L"BC");
    EXPECT_EQ(removal.tabs.size(), 2u);
    EXPECT_EQ(removal.activate, 1);

    tabs = TabsOf({L"A", L"B", L"C", L"D"}, 2);
    removal = tabs.KeepOnly(1, 2, 1);
    EXPECT_EQ(tabs.Active(), 1);
    EXPECT_EQ(removal.activate, -1);
}

TEST(TabSet, TabsOpenedBehindLineUpAfterTheActiveOneUntilAnotherIsActivated) {
    TabSet tabs = TabsOf({L"A", L"B", L"C"}, 0);
    EXPECT_EQ(tabs.TakeBackgroundSlot(), 1);
    tabs.Insert(1, UnbuiltTab(L"D"));
    EXPECT_EQ(tabs.TakeBackgroundSlot(), 2);
    tabs.SetActive(3);
    EXPECT_EQ(tabs.TakeBackgroundSlot(), 4);
}

TEST(TabSet, TheSavedListLeavesOutTabsWithoutAFolderAndCountsTheActiveOneAmongTheRest) {
    TabSet tabs = TabsOf({L"A", L"B", L"C"}, 2);
    tabs.At(0).requestedPath.clear();
    // A split tab not shown yet is saved with the right pane it waits with.
    const TabSplit split{true, 650, true, {{L"R1", L"R2"}, 0}};
    tabs.At(2).split = split;
    std::vector<std::wstring> paths;
    std::vector<TabHistory> histories;
    std::vector<TabSplit> splits;
    tabs.CollectSaved([](const std::wstring& shown) { return shown + L"?"; }, paths, histories, splits);
    // The active tab's focused right pane, not its left, is saved as the folder it stands for.
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"B", L"C"}));
    EXPECT_EQ(histories.size(), 2u);
    EXPECT_EQ(splits, (std::vector<TabSplit>{{}, {true, 650, true, {{L"R1?", L"R2"}, 0}}}));
    EXPECT_EQ(tabs.SavedActiveIndex(), 1);
    tabs.SetActive(-1);
    EXPECT_EQ(tabs.SavedActiveIndex(), -1);
}

TEST(TabRestore, TheSavedActiveTabOpensFirstAndTheOthersAreQueuedAroundIt) {
    TabRestore restore;
    const TabSplit splitOfA{true, 300, false, {{L"R"}, 0}};
    const TabRestore::SavedTab first = restore.Begin({L"A", L"B", L"C"}, {}, {splitOfA}, 1);
    EXPECT_EQ(first.path, L"B");
    EXPECT_EQ(restore.QueuedFolders(), (std::vector<std::wstring>{L"A", L"C"}));
    EXPECT_TRUE(restore.HoldsSaves());

    TabSet tabs;
    auto panel = std::make_unique<FilePanel>();
    restore.FirstOpenedIn(panel.get());
    tabs.Insert(0, TabInfo{L"B", L"B", -1, std::move(panel), {}, {}, nullptr});
    tabs.SetActive(0);
    tabs.Insert(1, UnbuiltTab(L"C"));  // opened meanwhile: not opened twice
    restore.PlaceQueued(tabs);
    EXPECT_EQ(Folders(tabs), L"ABC");
    EXPECT_EQ(tabs.At(0).split, splitOfA) << "a restored tab lost its split";
    EXPECT_FALSE(restore.HasQueued());
    // The first tab's panel has not arrived at its folder yet.
    EXPECT_FALSE(restore.ReleaseIfComplete(tabs));
    restore.Release();
    EXPECT_TRUE(restore.ReleaseIfComplete(tabs));
}

TEST(TabRestore, WithoutAUsableSavedActiveTabTheLastOpensFirst) {
    TabRestore restore;
    EXPECT_EQ(restore.Begin({L"A", L"B"}, {}, {}, 7).path, L"B");
    // The first tab's panel is gone: the tabs saved before it are appended.
    TabSet tabs = TabsOf({L"X"});
    restore.PlaceQueued(tabs);
    EXPECT_EQ(Folders(tabs), L"XA");
    EXPECT_TRUE(restore.ReleaseIfComplete(tabs));
}

// Drives that never answer at once and turn out unreachable: a tab waiting
// for one says it is connecting, then loses its folder, so that it is not
// saved; a typed folder comes back to the window, which tells the user.
TEST(DriveWaits, AnUnreachableDriveLeavesItsTabWithoutAFolder) {
    TabSet tabs;
    DriveWaits waits(tabs, [](const std::wstring&) { return false; }, [](const std::wstring&) { return false; });
    auto panel = std::make_unique<FilePanel>();
    FilePanel* waiting = panel.get();
    tabs.Insert(0, TabInfo{std::wstring(), L"\\\\server\\share", -1, std::move(panel), {}, {}, nullptr});
    waits.Open(waiting, L"\\\\server\\share", {});
    EXPECT_EQ(tabs.At(0).title, kConnectingTab);
    EXPECT_EQ(waits.ReachTyped(waiting, L"Z:\\typed"), FolderReach::Asking);

    std::vector<DriveWaits::Typed> typed;
    const auto answered = [&] {
        for (DriveWaits::Typed& next : waits.OpenAnswered()) typed.push_back(std::move(next));
        return tabs.At(0).requestedPath.empty() && !typed.empty();
    };
    ASSERT_TRUE(WaitUntil(answered, 10000)) << "awaited both drives' answers";
    EXPECT_TRUE(tabs.At(0).title.empty());
    ASSERT_EQ(typed.size(), 1u);
    EXPECT_EQ(typed[0].folder, L"Z:\\typed");
    EXPECT_FALSE(typed[0].reached);
}

}  // namespace
