#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "commandbar/command_ids.h"
#include "driver/quorlen_driver.h"
#include "driver/tab_drag.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"

namespace {

// A tab saved three folders deep, which the tests walk up from, so that its
// back and forward list holds folders of their own.
class TabHistoryTest : public TabsTest {
protected:
    void PrepareConfig() override {
        top = (data.Path() / L"上层").wstring();
        middle = top + L"\\中层";
        bottom = middle + L"\\底层";
        std::filesystem::create_directories(bottom);
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", SavedTabs()));
    }

    virtual std::vector<std::wstring> SavedTabs() const { return {bottom}; }

    // Sends a command-bar command to a window and waits for the tab list it leads to.
    bool Step(HWND target, int command, const std::vector<std::wstring>& tabsAfter) {
        PostMessageW(target, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        return WaitForSavedTabs(tabsAfter);
    }

    // Up twice and Back once: the tab shows the middle folder, with the bottom
    // one behind it and the top one ahead.
    void WalkUpAndBack(const std::vector<std::wstring>& others) {
        std::vector<std::wstring> expected = {bottom};
        expected.insert(expected.end(), others.begin(), others.end());
        ASSERT_TRUE(WaitForSavedTabs(expected)) << "the saved tab never arrived";
        expected[0] = middle;
        ASSERT_TRUE(Step(window, kCommandUp, expected)) << "Up did not go up";
        expected[0] = top;
        ASSERT_TRUE(Step(window, kCommandUp, expected)) << "the second Up did not go up";
        expected[0] = middle;
        ASSERT_TRUE(Step(window, kCommandBack, expected)) << "Back did not go back";
    }

    std::wstring top, middle, bottom;
};

TEST_F(TabHistoryTest, BackAndForwardLeadWhereTheyLedBeforeARestart) {
    ASSERT_NO_FATAL_FAILURE(WalkUpAndBack({}));
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigLines(install, L"tabhistory.txt").size() == 4; }, 20000))
        << "the tab's history was not saved";
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode));
    EXPECT_TRUE(SamePaths(ReadConfigLines(install, L"tabs.txt"), {middle})) << "tabs.txt is no longer one path a line";

    ASSERT_TRUE(quorlen.Start(install));
    window = quorlen.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "no main window after the restart";
    EXPECT_TRUE(Step(window, kCommandBack, {bottom})) << "Back after the restart did not lead to where it led before";
    EXPECT_TRUE(Step(window, kCommandForward, {middle}));
    EXPECT_TRUE(Step(window, kCommandForward, {top})) << "Forward after the restart did not lead to where it led before";
}

// "在新窗口中打开" (W in the tab menu) gives the new window's tab the list too.
TEST_F(TabHistoryTest, ATabOpenedInANewWindowTakesItsBackAndForwardAlong) {
    ASSERT_NO_FATAL_FAILURE(WalkUpAndBack({}));
    PostMessageW(strip, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(strip), MAKELPARAM(-1, -1));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindProcessWindow(quorlen.Id(), L"#32768")) != nullptr; }, 20000))
        << "no menu appeared";
    PostMessageW(menu, WM_CHAR, L'w', 0);
    const HWND second = WaitForSecondWindow();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(WaitForSavedTabs({middle, middle}));
    EXPECT_TRUE(Step(second, kCommandBack, {middle, bottom})) << "the new window's tab has no Back";
    EXPECT_TRUE(Step(second, kCommandForward, {middle, middle}));
    EXPECT_TRUE(Step(second, kCommandForward, {middle, top})) << "the new window's tab has no Forward";
}

class TwoTabHistoryTest : public TabHistoryTest {
protected:
    std::vector<std::wstring> SavedTabs() const override { return {bottom, folders[0]}; }
};

TEST_F(TwoTabHistoryTest, AClosedTabReopenedAndThenTornOffKeepsItsBackAndForward) {
    ASSERT_NO_FATAL_FAILURE(WalkUpAndBack({folders[0]}));
    ASSERT_EQ(Query(strip, kCloseTab, 0), 0);
    ASSERT_TRUE(WaitForSavedTabs({folders[0]}));
    ASSERT_TRUE(Step(window, kCommandReopenClosedFolder, {folders[0], middle})) << "the closed folder did not come back";
    ASSERT_TRUE(Step(window, kCommandBack, {folders[0], bottom})) << "the reopened tab lost its Back";

    Place(window, 0, 0);
    ASSERT_TRUE(DragTab(strip, TabCentre(strip, 1, 2), POINT{1300, 700}));
    const HWND second = WaitForSecondWindow();
    ASSERT_NE(second, nullptr) << "the tab was not torn off";
    EXPECT_TRUE(Step(second, kCommandForward, {folders[0], middle})) << "the torn-off tab lost its Forward";
    EXPECT_TRUE(Step(second, kCommandForward, {folders[0], top}));
}

}  // namespace
