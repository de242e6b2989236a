#include <windows.h>

#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "common/reliability_tally.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "reliability/channel_fixture.h"

namespace {

constexpr int kFavBarId = 11;

std::wstring Joined(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) text += line.substr(line.find_last_of(L'\\') + 1) + L"; ";
    return text;
}

// Menus run their own message loop inside the window that opened them. A close
// or new tabs arriving from outside meanwhile must not pull the window out from
// under that loop, nor turn the menu onto another tab.
class ReliabilityModalLoopTest : public ChannelTest {
protected:
    void PrepareConfig() override {
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"FavBarVisible=1"}));
        ASSERT_TRUE(WriteConfigLines(install, L"favorites.txt", {folders[1]}));
    }

    // Opens the menu of the active tab, as the keyboard's menu key does.
    bool OpenActiveTabMenu() {
        SetForegroundWindow(window);
        PostMessageW(strip, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(strip), MAKELPARAM(-1, -1));
        return WaitUntil(MenuShown, 10000);
    }

    bool OpenFavouriteMenu() {
        SetForegroundWindow(window);
        // The first favourite begins a little way into the bar.
        PostMessageW(GetDlgItem(window, kFavBarId), WM_RBUTTONUP, 0, MAKELPARAM(34, 14));
        return WaitUntil(MenuShown, 10000);
    }

    // A close from outside while the menu is up ends with the process, cleanly.
    void ExpectCleanEndAfterClose(const char* menu) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        // Had the window gone under the menu, a choice made in it would act on
        // what is gone: the last item is taken if the menu is still up.
        if (WaitUntil([] { return !MenuShown(); }, 3000) == false) {
            Key(VK_UP);
            Key(VK_RETURN);
        }
        DWORD exitCode = 1;
        EXPECT_TRUE(quorlen.WaitForExit(30000, exitCode)) << "the window stayed after a close during the " << menu;
        EXPECT_EQ(exitCode, 0u) << "the program ended badly after a close during the " << menu;
    }
};

TEST_F(ReliabilityModalLoopTest, ACloseFromOutsideWhileTheTabMenuIsOpenEndsCleanly) {
    ASSERT_TRUE(OpenActiveTabMenu()) << "no menu opened";
    ExpectCleanEndAfterClose("tab menu");
    RecordReliability({"menus and outside closes", 1, 1, "", 0});
}

TEST_F(ReliabilityModalLoopTest, ACloseFromOutsideWhileAFavouriteMenuIsOpenEndsCleanly) {
    ASSERT_TRUE(OpenFavouriteMenu()) << "no menu opened";
    ExpectCleanEndAfterClose("favourite's menu");
    RecordReliability({"menus and outside closes", 1, 1, "", 0});
}

// With several tabs the close asks first; the question comes, and the menu
// the window had open is not left acting on a window that is gone.
TEST_F(ReliabilityModalLoopTest, ACloseThatAsksFirstWhileTheTabMenuIsOpenEndsCleanly) {
    ASSERT_TRUE(SendPipeRequest(folders[1]));
    ASSERT_TRUE(WaitForTabCount(2));
    ASSERT_TRUE(OpenActiveTabMenu()) << "no menu opened";
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(quorlen.Id())) != nullptr; }, 15000))
        << "no question before closing two tabs";
    EXPECT_EQ(MessageBoxText(box), L"当前有 2 个标签页，确定要关闭所有标签页吗？");
    PostMessageW(box, WM_COMMAND, IDYES, 0);
    if (!WaitUntil([] { return !MenuShown(); }, 3000)) {
        Key(VK_UP);
        Key(VK_RETURN);
    }
    DWORD exitCode = 1;
    EXPECT_TRUE(quorlen.WaitForExit(30000, exitCode)) << "the window stayed";
    EXPECT_EQ(exitCode, 0u);
    RecordReliability({"menus and outside closes", 1, 1, "", 0});
}

// The same with the menu of a folder in the panel, which the shell fills.
class ReliabilityPanelMenuTest : public TabsTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + data.Path().wstring() + L"\""; }
};

TEST_F(ReliabilityPanelMenuTest, ACloseFromOutsideWhileAFolderMenuIsOpenEndsCleanly) {
    SetWindowPos(window, nullptr, 0, 0, 900, 600, SWP_NOZORDER);
    SetForegroundWindow(window);
    POINT onFolder{};
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            list = FindDescendant(window, L"SysListView32");
            const int index = list ? FindListItem(list, L"beta") : -1;
            return index >= 0 && ListItemLabelCentre(list, index, onFolder);
        },
        15000))
        << "the panel shows no folder beta";
    // The menu is asked for as the list asks its view once a right click is
    // over: what matters here is the close that comes while it is open.
    PostMessageW(GetParent(list), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(onFolder.x, onFolder.y));
    ASSERT_TRUE(WaitUntil(MenuShown, kInputStepMs)) << "no menu opened";
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!WaitUntil([] { return !MenuShown(); }, 3000)) Key(VK_ESCAPE);
    DWORD exitCode = 1;
    EXPECT_TRUE(quorlen.WaitForExit(30000, exitCode)) << "the window stayed after a close during the folder menu";
    EXPECT_EQ(exitCode, 0u) << "the program ended badly after a close during the folder menu";
    RecordReliability({"menus and outside closes", 1, 1, "folder menu", 0});
}

// The saved active tab comes first and the others are put in front of it while
// the window already answers the user: a menu opened on that tab meanwhile
// still closes that tab, not the one that has moved to its place.
class ReliabilityRestoreMenuTest : public ChannelTest {
protected:
    void PrepareConfig() override {
        for (int i = 0; i < 16; ++i) {
            restored.push_back((data.Path() / (L"saved " + std::to_wstring(i))).wstring());
            CreateDirectoryW(restored.back().c_str(), nullptr);
        }
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", restored));
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"ActiveTab=" + std::to_wstring(restored.size() - 1)}));
    }
    std::wstring StartArguments() const override { return L""; }
    // The fixture's wait for a single saved tab does not hold here.
    void SetUp() override { TabsTest::SetUp(); }

    std::vector<std::wstring> restored;
};

TEST_F(ReliabilityRestoreMenuTest, ATabMenuOpenedDuringTheRestoreActsOnItsOwnTab) {
    // Closing the only tab would close the window: the menu opens once the
    // restore has begun to put tabs in front.
    ASSERT_TRUE(WaitUntil([&] { return Query(strip, kTabCount) >= 2; }, 20000));
    SetForegroundWindow(window);
    PostMessageW(strip, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(strip), MAKELPARAM(-1, -1));
    ASSERT_TRUE(WaitUntil(MenuShown, 10000)) << "no menu opened";
    const LRESULT tabsWhenOpened = Query(strip, kTabCount);
    // The rest of the restore goes on while the menu is up, or waits for it.
    WaitUntil([&] { return Query(strip, kTabCount) == static_cast<LRESULT>(restored.size()); }, 8000);
    // "关闭标签", above the entries that close the others and those to the right.
    for (int step = 0; step < 3; ++step) Key(VK_UP);
    Key(VK_RETURN);
    ASSERT_TRUE(WaitUntil([] { return !MenuShown(); }, 10000));

    std::vector<std::wstring> expected(restored.begin(), restored.end() - 1);
    ASSERT_TRUE(WaitForTabCount(static_cast<LRESULT>(expected.size())));
    // The list is saved at the next change once the restore is over.
    int step = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
            Query(strip, kSelectTab, static_cast<WPARAM>(++step % 2));
            return SamePaths(ReadConfigLines(install, L"tabs.txt"), expected);
        },
        30000, 500)) << "tabs when the menu opened: " << tabsWhenOpened << "; saved now: "
                                            << NarrowForTest(Joined(ReadConfigLines(install, L"tabs.txt")));
    RecordReliability({"menus and outside closes", 1, 0, "restore under a tab menu", 0});
}

}  // namespace
