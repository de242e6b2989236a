#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/tab_drag.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"
#include "tabstrip/tab_strip_messages.h"

namespace {

// Three saved tabs, driven with the mouse.
class TabMouseTest : public SavedTabsTest {
protected:
    void TearDown() override {
        // Off every window, so that no later test finds something hot under the cursor.
        PlaceCursor(POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
    }

    // A point of the strip's empty stretch between the "+" and the star.
    POINT EmptyStripPoint() const {
        POINT point{static_cast<int>(Query(strip, kTabStripPlusLeftMessage)) + 100, 13};
        ClientToScreen(strip, &point);
        return point;
    }

    // Chooses an entry of the menu of a strip's tab by stepping to it with an
    // arrow key, separators not counted, or with steps 0 by its access key.
    static void ChooseFromTabMenu(HWND onStrip, POINT onTab, WORD key, int steps) {
        ASSERT_TRUE(ClickOn(onStrip, onTab, MOUSEEVENTF_RIGHTDOWN));
        ASSERT_TRUE(WaitUntil(MenuShown, kInputStepMs)) << "no menu opened";
        if (steps == 0) {
            Key(key);
        } else {
            for (int i = 0; i < steps; ++i) Key(key);
            Key(VK_RETURN);
        }
        ASSERT_TRUE(WaitUntil([] { return !MenuShown(); }, kInputStepMs)) << "the menu stayed open";
    }

    // "收藏此文件夹(&A)".
    static void AddFavouriteByTabMenu(HWND onStrip, POINT onTab) { ChooseFromTabMenu(onStrip, onTab, 'A', 0); }

    bool WaitForFavourites(const std::vector<std::wstring>& expected) const {
        return WaitUntil([&] { return SamePaths(ReadConfigLines(install, L"favorites.txt"), expected); }, 10000);
    }

    // A caption button's centre once the strip has laid itself out for the
    // window's present width: the close button sits 26 DIPs from its right edge.
    POINT ButtonCentre(UINT leftEdgeQuery) const {
        EXPECT_TRUE(WaitUntil(
            [&] {
                RECT client{};
                GetClientRect(strip, &client);
                return Query(strip, kTabStripCloseLeftMessage) == client.right - MulDiv(26, GetDpiForWindow(strip), 96);
            },
            10000));
        POINT point{static_cast<int>(Query(strip, leftEdgeQuery)) + 12, 13};
        ClientToScreen(strip, &point);
        return point;
    }
};

TEST_F(TabMouseTest, DraggingATabAlongTheStripReordersTheTabs) {
    POINT behindLast = TabCentre(strip, 2, 3);
    behindLast.x += 30;
    ASSERT_TRUE(DragTab(strip, TabCentre(strip, 0, 3), behindLast));
    EXPECT_TRUE(WaitForSavedTabs({folders[1], folders[2], folders[0]}));
}

TEST_F(TabMouseTest, TheMiddleButtonClosesATab) {
    ASSERT_TRUE(ClickOn(strip, TabCentre(strip, 2, 3), MOUSEEVENTF_MIDDLEDOWN));
    EXPECT_TRUE(WaitForSavedTabs({folders[0], folders[1]}));
    EXPECT_EQ(Query(strip, kTabCount), 2);
}

// From the bottom up: "关闭右侧标签页", "关闭其他标签页", "关闭标签"; from the top:
// "新建标签页", "复制标签页".
TEST_F(TabMouseTest, TheTabMenuClosesTabsAndDuplicatesThem) {
    ChooseFromTabMenu(strip, TabCentre(strip, 0, 3), VK_UP, 3);
    ASSERT_TRUE(WaitForSavedTabs({folders[1], folders[2]}))
        << Query(strip, kTabCount) << " tabs, " << ReadConfigLines(install, L"tabs.txt").size() << " saved";
    ChooseFromTabMenu(strip, TabCentre(strip, 1, 2), VK_UP, 2);
    ASSERT_TRUE(WaitForSavedTabs({folders[2]})) << "closing the other tabs left " << Query(strip, kTabCount);
    EXPECT_TRUE(WaitForHistory({folders[0], folders[1]}));
    ChooseFromTabMenu(strip, TabCentre(strip, 0, 1), VK_DOWN, 2);
    EXPECT_TRUE(WaitForSavedTabs({folders[2], folders[2]})) << "the tab was not duplicated";
    EXPECT_EQ(Query(strip, kActiveTab), 1);
}

// The wheel goes to the folder list, which has the focus; over the strip it steps
// the tabs instead, both ways round.
TEST_F(TabMouseTest, TheWheelOverTheStripStepsTheTabsWhileTheListHasTheFocus) {
    const LRESULT first = Query(strip, kActiveTab);
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (list = ShownPanelDescendant(window, L"SysListView32")) != nullptr; }, 10000))
        << "the shown panel has no list";
    RECT listRect{};
    GetWindowRect(list, &listRect);
    ASSERT_TRUE(ClickOn(list, POINT{listRect.right - 40, listRect.bottom - 40}));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(list) == list; }, kInputStepMs)) << "the click left the list unfocused";

    ASSERT_TRUE(RestCursorOn(strip, EmptyStripPoint()));
    Wheel(-WHEEL_DELTA);
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == (first + 1) % 3; }, kInputStepMs))
        << "the wheel towards the user did not choose the next tab";
    Wheel(WHEEL_DELTA);
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == first; }, kInputStepMs))
        << "the wheel away from the user did not choose the previous tab";
}

TEST_F(TabMouseTest, TheStripMovesTheWindowAndItsButtonsMaximiseRestoreAndMinimiseIt) {
    // The window starts at the screen's corner and follows the cursor step by step.
    const POINT press = EmptyStripPoint();
    ASSERT_TRUE(GrabOn(strip, press));
    for (const POINT travel : {POINT{10, 8}, POINT{50, 40}}) {
        EXPECT_TRUE(MoveUntil(POINT{press.x + travel.x, press.y + travel.y}, [&] {
            RECT now{};
            GetWindowRect(window, &now);
            return now.left == travel.x && now.top == travel.y;
        })) << "the window did not follow the cursor to " << travel.x << "," << travel.y;
    }
    Buttons(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([&] { return CaptureOf(strip) != strip; }, kInputStepMs))
        << "the strip kept the capture after the release";

    ASSERT_TRUE(ClickOn(strip, ButtonCentre(kTabStripMaximizeLeftMessage)));
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(window) != FALSE; }, kInputStepMs)) << "the button did not maximise";
    ASSERT_TRUE(ClickOn(strip, ButtonCentre(kTabStripMaximizeLeftMessage)));
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(window) == FALSE; }, kInputStepMs)) << "the button did not restore";
    ASSERT_TRUE(ClickOn(strip, ButtonCentre(kTabStripMinimizeLeftMessage)));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }, kInputStepMs)) << "the button did not minimise";
}

TEST_F(TabMouseTest, ATabTornOffOpensASecondWindowAndGoesBackByDroppingItOnTheFirst) {
    ASSERT_TRUE(DragTab(strip, TabCentre(strip, 1, 3), POINT{1300, 700}));
    HWND second = WaitForSecondWindow();
    ASSERT_NE(second, nullptr);
    HWND secondStrip = GetDlgItem(second, 7);
    ASSERT_NE(secondStrip, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(secondStrip) == L"beta"; }, 10000));
    EXPECT_EQ(Query(strip, kTabCount), 2);
    EXPECT_EQ(Query(secondStrip, kTabCount), 1);
    // Both windows' tabs are saved, the first window's first.
    EXPECT_TRUE(WaitForSavedTabs({folders[0], folders[2], folders[1]}));

    Place(second, 950, 0);
    ASSERT_TRUE(DragTab(secondStrip, TabCentre(secondStrip, 0, 1), TabCentre(strip, 0, 2)));
    EXPECT_TRUE(WaitUntil([&] { return quorlen.MainWindows().size() == 1; }, 20000))
        << "the window that gave away its only tab stays open";
    EXPECT_EQ(Query(strip, kTabCount), 3);
    EXPECT_TRUE(WaitForSavedTabs({folders[1], folders[0], folders[2]}));
}

// Each window keeps a copy of the settings; a favourite added in one window
// must survive the next one added in the other.
TEST_F(TabMouseTest, FavouritesAddedInTwoWindowsAreAllKept) {
    ASSERT_TRUE(DragTab(strip, TabCentre(strip, 1, 3), POINT{1300, 700}));
    HWND second = WaitForSecondWindow();
    ASSERT_NE(second, nullptr);
    HWND secondStrip = GetDlgItem(second, 7);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(secondStrip) == L"beta"; }, 10000));
    Place(second, 950, 0);

    AddFavouriteByTabMenu(secondStrip, TabCentre(secondStrip, 0, 1));
    ASSERT_TRUE(WaitForFavourites({folders[1]}));
    Place(window, 0, 0);
    AddFavouriteByTabMenu(strip, TabCentre(strip, 0, 2));
    EXPECT_TRUE(WaitForFavourites({folders[1], folders[0]}));
}

}  // namespace
