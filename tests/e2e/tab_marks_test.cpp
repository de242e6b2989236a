#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/tab_name_dialog.h"
#include "common/private_prefix.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "mainwindow/tab_switcher.h"
#include "tabs_fixture.h"

namespace {

// The three saved folders, worked on through the active tab's menu, which the
// keyboard opens (its letters are the menu's access keys).
class TabMarksTest : public SavedTabsTest {
protected:
    bool Select(int tab) const {
        Query(strip, kSelectTab, static_cast<WPARAM>(tab));
        return WaitUntil([&] { return Query(strip, kActiveTab) == tab; }, 20000);
    }

    static void ChooseFromMenu(HWND onStrip, std::initializer_list<WORD> keys) {
        PostMessageW(onStrip, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(onStrip), MAKELPARAM(-1, -1));
        ASSERT_TRUE(WaitUntil(MenuShown, kInputStepMs)) << "no menu opened";
        for (const WORD key : keys) Key(key);
        ASSERT_TRUE(WaitUntil([] { return !MenuShown(); }, kInputStepMs)) << "the menu stayed open";
    }

    // The saved marks of the tab at index, without its place in the order of use.
    std::wstring SavedMarks(int index) const {
        const std::wstring prefix = L"|" + std::to_wstring(index) + L"|";
        for (const std::wstring& line : ReadConfigLines(install, L"tabmarks.txt")) {
            if (line.rfind(prefix, 0) != 0) continue;
            const size_t recent = line.find(L'|', line.find(L'|', prefix.size()) + 1);
            const size_t path = line.find(L'|', recent + 1);
            return recent == std::wstring::npos || path == std::wstring::npos ? line
                                                                              : line.substr(0, recent) + line.substr(path);
        }
        return {};
    }

    bool WaitForMarks(int index, const std::wstring& expected) const {
        return WaitUntil([&] { return SavedMarks(index) == expected; }, 20000);
    }
};

TEST_F(TabMarksTest, APinnedNamedColouredTabKeepsItAllThroughClosingOthersAndARestart) {
    ASSERT_TRUE(TakeKeyboard()) << "the window never took the keyboard";
    ASSERT_TRUE(Select(2));
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenu(strip, {'P'}));
    ASSERT_TRUE(WaitForSavedTabs({folders[2], folders[0], folders[1]})) << "the pinned tab did not move to the left";

    ASSERT_TRUE(Select(2));
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenu(strip, {'O'}));
    ASSERT_TRUE(WaitForSavedTabs({folders[2], folders[1]})) << "closing the others did not keep the pinned tab";

    ASSERT_TRUE(Select(0));
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenu(strip, {'L', 'B'}));
    const std::wstring blue = L"|0|1|4|" + folders[2] + L"|";
    EXPECT_TRUE(WaitForMarks(0, blue)) << "the colour was not kept: " << NarrowForTest(SavedMarks(0));

    ASSERT_NO_FATAL_FAILURE(ChooseFromMenu(strip, {'R'}));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindProcessWindow(quorlen.Id(), kTabNameDialogClass)) != nullptr; },
                          kInputStepMs))
        << "no dialog asked for the name";
    LRESULT ignored = 0;
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, kTabNameEditId), WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(L" 我的资料 "), ignored));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitForMarks(0, blue + L"我的资料")) << NarrowForTest(SavedMarks(0));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"我的资料"; }, 20000)) << "the tab kept its folder's name";

    ASSERT_TRUE(CloseAnsweringYes());
    ASSERT_TRUE(quorlen.Start(install));
    window = quorlen.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "no main window after the restart";
    strip = GetDlgItem(window, 7);
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"我的资料"; }, 20000)) << "the name was lost";
    EXPECT_TRUE(WaitForMarks(0, blue + L"我的资料")) << NarrowForTest(SavedMarks(0));
    EXPECT_TRUE(SamePaths(ReadConfigLines(install, L"tabs.txt"), {folders[2], folders[1]}));

    // A middle click leaves the pinned tab; one on the other tab closes that.
    ASSERT_TRUE(WaitUntil([&] { return NavigatedPanelCount(window) == 1; }, 20000)) << "the restore never ended";
    Place(window, 0, 0);
    POINT pinned{18, 13};
    POINT other{110, 13};
    ClientToScreen(strip, &pinned);
    ClientToScreen(strip, &other);
    ASSERT_TRUE(ClickOn(strip, pinned, MOUSEEVENTF_MIDDLEDOWN));
    ASSERT_TRUE(ClickOn(strip, other, MOUSEEVENTF_MIDDLEDOWN));
    EXPECT_TRUE(WaitForSavedTabs({folders[2]})) << "the middle button closed the pinned tab or left the other";
}

class RecentOrderTest : public TabMarksTest {
protected:
    void PrepareConfig() override {
        TabMarksTest::PrepareConfig();
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"RecentTabOrder=1"}));
    }
};

// Used in the order 0, 2, 1: held Ctrl and two Tabs reach the first, a quick
// Ctrl+Tab the one used before.
TEST_F(RecentOrderTest, CtrlTabGoesByRecentUseWhileCtrlIsHeld) {
    ASSERT_TRUE(Select(2));
    ASSERT_TRUE(Select(1));
    ASSERT_TRUE(TakeKeyboard()) << "the window never took the keyboard";

    HoldKey(VK_CONTROL, true);
    Key(VK_TAB);
    HWND list = nullptr;
    const bool shown = WaitUntil(
        [&] {
            const HWND switcher = FindProcessWindow(quorlen.Id(), kTabSwitcherClass);
            list = switcher ? FindDescendant(switcher, L"ListBox") : nullptr;
            return list && IsWindowVisible(list) && SendMessageW(list, LB_GETCURSEL, 0, 0) == 1;
        },
        kInputStepMs);
    if (shown) {
        EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
        Key(VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == 2; }, kInputStepMs))
            << "Tab did not move down the list";
    }
    HoldKey(VK_CONTROL, false);
    ASSERT_TRUE(shown) << "Ctrl+Tab showed no list of the tabs on the tab used before";
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == 0; }, kInputStepMs))
        << "letting Ctrl go did not switch to the tab chosen";

    Chord({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == 1; }, kInputStepMs))
        << "Ctrl+Tab did not go back to the tab used before";
}

}  // namespace
