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

// Pinned tabs stay at the left end, before every other, whatever comes, moves
// or is pinned; closing the others or those to the right leaves them alone.
TEST(TabSet, PinnedTabsKeepTheLeftEndAndOutliveClosingTheOthers) {
    TabSet tabs = TabsOf({L"A", L"B", L"C", L"D"}, 3);
    EXPECT_EQ(tabs.SetPinned(2, true), 0);
    EXPECT_EQ(tabs.SetPinned(3, true), 1);
    EXPECT_EQ(Folders(tabs), L"CDAB");
    EXPECT_EQ(tabs.PinnedCount(), 2);
    EXPECT_EQ(tabs.FolderAt(tabs.Active()), L"D");

    TabInfo pinned = UnbuiltTab(L"E");
    pinned.marks.pinned = true;
    EXPECT_EQ(tabs.Insert(99, std::move(pinned)), 2) << "a pinned tab went after the unpinned ones";
    EXPECT_EQ(tabs.Insert(0, UnbuiltTab(L"F")), 3) << "a tab went before the pinned ones";
    EXPECT_EQ(Folders(tabs), L"CDEFAB");

    EXPECT_TRUE(tabs.Move(0, 5));
    EXPECT_EQ(Folders(tabs), L"DECFAB") << "a pinned tab left the pinned ones";
    EXPECT_TRUE(tabs.Move(5, 0));
    EXPECT_EQ(Folders(tabs), L"DECBFA") << "a tab went before the pinned ones";

    EXPECT_EQ(tabs.SetPinned(0, false), 2);
    EXPECT_EQ(Folders(tabs), L"ECDBFA");

    // Closing the others from F, then those right of E.
    TabSet::Removal removal = tabs.KeepOnly(4, 4, 4);
    EXPECT_EQ(Folders(tabs), L"ECF");
    EXPECT_EQ(removal.tabs.size(), 3u);
    EXPECT_EQ(removal.activate, 2) << "the active D went; F takes over";
    tabs.SetActive(2);
    removal = tabs.KeepOnly(0, 0, 0);
    EXPECT_EQ(Folders(tabs), L"EC");
    EXPECT_EQ(removal.activate, 0);
}

TEST(TabSet, TheRecentOrderPutsTheTabsUsedLastFirstAndTheRestroredOnesAfter) {
    TabSet tabs = TabsOf({L"A", L"B", L"C", L"D"}, 2);
    tabs.At(3).marks.lastUsed = -1;  // restored as the tab used last before the start
    tabs.At(1).marks.lastUsed = -2;
    tabs.SetActive(0);
    tabs.SetActive(2);
    EXPECT_EQ(tabs.RecentOrder(), (std::vector<int>{2, 0, 3, 1}));
    tabs.Move(2, 0);
    EXPECT_EQ(tabs.RecentOrder(), (std::vector<int>{0, 1, 3, 2})) << "the order did not follow the tab";
}

TEST(TabSet, TabsOpenedBehindLineUpAfterTheActiveOneUntilAnotherIsActivated) {
    TabSet tabs = TabsOf({L"A", L"B", L"C"}, 0);
    EXPECT_EQ(tabs.TakeBackgroundSlot(), 1);
    tabs.Insert(1, UnbuiltTab(L"D"));
    EXPECT_EQ(tabs.TakeBackgroundSlot(), 2);
    tabs.SetActive(3);
    EXPECT_EQ(tabs.TakeBackgroundSlot(), 4);

    // Behind a pinned tab they line up after the pinned ones, in order.
    tabs = TabsOf({L"A", L"B", L"C"}, 0);
    tabs.SetPinned(0, true);
    tabs.SetPinned(1, true);
    tabs.Insert(tabs.TakeBackgroundSlot(), UnbuiltTab(L"D"));
    tabs.Insert(tabs.TakeBackgroundSlot(), UnbuiltTab(L"E"));
    EXPECT_EQ(Folders(tabs), L"ABDEC");
}

TEST(TabSet, TheSavedListLeavesOutTabsWithoutAFolderAndCountsTheActiveOneAmongTheRest) {
    TabSet tabs = TabsOf({L"A", L"B", L"C"}, 2);
    tabs.At(0).requestedPath.clear();
    // A split tab not shown yet is saved with the right pane it waits with.
    const TabSplit split{true, 650, true, {{L"R1", L"R2"}, 0}};
    tabs.At(2).split = split;
    tabs.At(1).marks.name = L"named";
    SavedTabs saved;
    tabs.CollectSaved([](const std::wstring& shown) { return shown + L"?"; }, saved);
    // The active tab's focused right pane, not its left, is saved as the folder it stands for.
    EXPECT_EQ(saved.paths, (std::vector<std::wstring>{L"B", L"C"}));
    EXPECT_EQ(saved.histories.size(), 2u);
    EXPECT_EQ(saved.splits, (std::vector<TabSplit>{{}, {true, 650, true, {{L"R1?", L"R2"}, 0}}}));
    ASSERT_EQ(saved.marks.size(), 2u);
    EXPECT_EQ(saved.marks[0].name, L"named");
    EXPECT_EQ(tabs.SavedActiveIndex(), 1);
    tabs.SetActive(-1);
    EXPECT_EQ(tabs.SavedActiveIndex(), -1);
}

TEST(TabRestore, TheSavedActiveTabOpensFirstAndTheOthersAreQueuedAroundIt) {
    TabRestore restore;
    const TabSplit splitOfA{true, 300, false, {{L"R"}, 0}};
    TabMarks pinnedC;
    pinnedC.pinned = true;
    const TabRestore::SavedTab first = restore.Begin(SavedTabs{{L"A", L"B", L"C"}, {}, {splitOfA}, {{}, {}, pinnedC}}, 1);
    EXPECT_EQ(first.path, L"B");
    EXPECT_EQ(restore.QueuedFolders(), (std::vector<std::wstring>{L"A", L"C"}));
    EXPECT_TRUE(restore.HoldsSaves());

    TabSet tabs;
    auto panel = std::make_unique<FilePanel>();
    restore.FirstOpenedIn(panel.get());
    TabInfo shown = UnbuiltTab(L"B");
    shown.panel = std::move(panel);
    tabs.Insert(0, std::move(shown));
    tabs.SetActive(0);
    tabs.Insert(1, UnbuiltTab(L"D"));  // opened meanwhile
    restore.PlaceQueued(tabs);
    // The pinned tab goes before every other, whatever its saved place.
    EXPECT_EQ(Folders(tabs), L"CABD");
    EXPECT_EQ(tabs.At(1).split, splitOfA) << "a restored tab lost its split";
    EXPECT_TRUE(tabs.At(0).marks.pinned) << "a restored tab lost its pin";
    EXPECT_FALSE(restore.HasQueued());
    // The first tab's panel has not arrived at its folder yet.
    EXPECT_FALSE(restore.ReleaseIfComplete(tabs));
    restore.Release();
    EXPECT_TRUE(restore.ReleaseIfComplete(tabs));
}

TEST(TabRestore, WithoutAUsableSavedActiveTabTheLastOpensFirst) {
    TabRestore restore;
    EXPECT_EQ(restore.Begin(SavedTabs{{L"A", L"B"}, {}, {}, {}}, 7).path, L"B");
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
    tabs.Insert(0, TabInfo{std::wstring(), L"\\\\server\\share", -1, std::move(panel), {}, {}, nullptr, {}});
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
