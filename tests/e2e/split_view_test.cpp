#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"

namespace {

constexpr int kCommandBarId = 1;
constexpr int kAddressEditId = 4009;
constexpr int kLeftPaneId = 3;
constexpr int kRightPaneId = 13;

// One tab on alpha, placed where the tests know it to be, driven by keys and
// clicks into its panes.
class SplitViewTest : public TabsTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + folders[0] + L"\""; }

    void SetUp() override {
        TabsTest::SetUp();
        if (HasFatalFailure()) return;
        address = GetDlgItem(GetDlgItem(window, kCommandBarId), kAddressEditId);
        ASSERT_NE(address, nullptr) << "no address edit";
        ASSERT_TRUE(WaitUntil([&] { return NavigatedPanelCount(window) == 1; }, 20000)) << "alpha never opened";
        SetWindowPos(window, nullptr, 0, 0, 1000, 600, SWP_NOZORDER);
        ASSERT_TRUE(WaitUntil(
            [&] {
                SetForegroundWindow(window);
                return GetForegroundWindow() == window && FocusOf(window) != nullptr;
            },
            kInputStepMs))
            << "the window never took the keyboard";
    }

    HWND Pane(int id) const { return GetDlgItem(window, id); }

    // The list view of a pane once the pane shows a folder.
    HWND PaneList(int id) const {
        HWND list = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (list = FindDescendant(Pane(id), L"SysListView32")) != nullptr; }, 20000))
            << "pane " << id << " shows no folder";
        return list;
    }

    bool WaitForAddress(const std::wstring& folder) const {
        return WaitUntil([&] { return lstrcmpiW(WindowText(address).c_str(), folder.c_str()) == 0; }, 20000);
    }

    // A click on an empty spot of a pane's list, as a user moves into the pane.
    testing::AssertionResult ClickInto(int id) const {
        HWND list = PaneList(id);
        if (!list) return testing::AssertionFailure() << "no list in pane " << id;
        const RECT bounds = ScreenRectOf(list);
        return ClickOn(list, POINT{bounds.right - 30, bounds.bottom - 30});
    }

    void TypeAddress(const std::wstring& folder) const {
        LRESULT ignored = 0;
        ASSERT_TRUE(SendWithTimeout(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()), ignored));
        ASSERT_TRUE(SendWithTimeout(address, WM_KEYDOWN, VK_RETURN, 0, ignored));
    }

    bool WaitForSplitFile(const std::vector<std::wstring>& expected) const {
        return WaitUntil([&] { return SamePaths(ReadConfigLines(install, L"tabsplit.txt"), expected); }, 20000);
    }

    HWND address = nullptr;
};

TEST_F(SplitViewTest, CtrlBackslashSplitsThePanesGoTheirOwnWaysAndUnsplittingKeepsTheFocusedOne) {
    Chord({VK_CONTROL, VK_OEM_5});
    ASSERT_TRUE(WaitUntil([&] { return Pane(kRightPaneId) && IsWindowVisible(Pane(kRightPaneId)); }, kInputStepMs))
        << "Ctrl+\\ showed no second pane";
    EXPECT_EQ(WindowText(Pane(kLeftPaneId)), L"左窗格");
    EXPECT_EQ(WindowText(Pane(kRightPaneId)), L"右窗格");
    ASSERT_NE(PaneList(kRightPaneId), nullptr);
    for (int id : {kLeftPaneId, kRightPaneId}) {
        EXPECT_TRUE(WaitUntil(
            [&] {
                HWND tree = FindDescendant(Pane(id), L"SysTreeView32");
                return tree && IsWindowVisible(tree) && ScreenRectOf(tree).right > ScreenRectOf(tree).left;
            },
            20000))
            << "pane " << id << " shows no navigation tree";
    }

    // The new pane has the focus: the address bar drives it, and the tab takes its name.
    TypeAddress(folders[1]);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(strip) == L"beta"; }, 20000)) << "the right pane did not go to beta";
    EXPECT_TRUE(WaitForSplitFile({L"|0|500|1|" + folders[0], L">1", folders[0], folders[1]}));
    EXPECT_TRUE(WaitForSavedTabs({folders[0]})) << "the left pane is the tab's saved line";

    ASSERT_TRUE(ClickInto(kLeftPaneId));
    EXPECT_TRUE(WaitForAddress(folders[0])) << "the address did not follow the focus to the left pane";
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"alpha"; }, 20000));
    ASSERT_TRUE(ClickInto(kRightPaneId));
    EXPECT_TRUE(WaitForAddress(folders[1])) << "the address did not follow the focus back to the right pane";

    Chord({VK_MENU, VK_SHIFT, VK_RIGHT});
    EXPECT_TRUE(WaitForSplitFile({L"|0|550|1|" + folders[0], L">1", folders[0], folders[1]}))
        << "Alt+Shift+Right did not move the divider";

    Chord({VK_CONTROL, VK_OEM_5});
    ASSERT_TRUE(WaitUntil([&] { return Pane(kRightPaneId) == nullptr; }, kInputStepMs)) << "the split stayed";
    EXPECT_TRUE(WaitForSavedTabs({folders[1]})) << "unsplitting did not keep the focused right pane";
    EXPECT_TRUE(WaitForSplitFile({}));
    EXPECT_EQ(WindowText(Pane(kLeftPaneId)), L"") << "a tab of one pane keeps a pane's name";
}

// A split saved with the tab: restored as it was, its right pane opened on its
// own folder, and written back the same on the way out.
class SavedSplitTest : public SplitViewTest {
protected:
    void PrepareConfig() override {
        std::ofstream(std::filesystem::path(folders[0]) / L"note.txt") << "note";
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", {folders[0]}));
        ASSERT_TRUE(WriteConfigLines(install, L"tabsplit.txt", SavedSplit()));
    }

    std::vector<std::wstring> SavedSplit() const { return {L"|0|400|0|" + folders[0], L">0", folders[1]}; }
};

TEST_F(SavedSplitTest, ComesBackSplitCopiesToTheOtherPaneAndIsSavedAsItWas) {
    ASSERT_NE(PaneList(kRightPaneId), nullptr) << "the saved split did not come back";
    EXPECT_TRUE(WaitForAddress(folders[0])) << "the left pane, which had the focus, does not drive the bar";
    const RECT left = ScreenRectOf(Pane(kLeftPaneId));
    const RECT right = ScreenRectOf(Pane(kRightPaneId));
    EXPECT_LT(left.right - left.left, right.right - right.left) << "the divider is not where it was saved";

    HWND list = PaneList(kLeftPaneId);
    POINT note{};
    ASSERT_TRUE(WaitUntil(
        [&] {
            const int index = FindListItem(list, L"note.txt");
            return index >= 0 && ListItemLabelCentre(list, index, note);
        },
        20000))
        << "the left pane does not list note.txt";
    ASSERT_TRUE(ClickOn(list, note));
    ASSERT_TRUE(WaitUntil([&] { return SelectedListItems(list) == std::vector<std::wstring>{L"note.txt"}; }, 20000));
    Key(VK_F7);
    EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(std::filesystem::path(folders[1]) / L"note.txt"); },
                          30000))
        << "F7 copied nothing into the other pane's folder";
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folders[0]) / L"note.txt")) << "a copy moved the file";

    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(quorlen.WaitForExit(20000, exitCode)) << "the window did not close";
    EXPECT_TRUE(SamePaths(ReadConfigLines(install, L"tabs.txt"), {folders[0]}));
    EXPECT_TRUE(SamePaths(ReadConfigLines(install, L"tabsplit.txt"), SavedSplit()));
}

}  // namespace
