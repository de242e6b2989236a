#include <windows.h>

#include <filesystem>
#include <string>

#include "common/private_prefix.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"

namespace {

// Where a new tab opens when no folder is set for it.
constexpr wchar_t kComputerFolder[] = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

// Three saved tabs, the first one active, and keys typed into the window as a
// person would type them.
class KeysTest : public SavedTabsTest {
protected:
    void SetUp() override {
        SavedTabsTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(Query(strip, kActiveTab), 0);
        ASSERT_TRUE(TakeKeyboard()) << "the window never took the keyboard";
    }

    bool WaitForActiveTab(LRESULT index) {
        return WaitUntil([&] { return Query(strip, kActiveTab) == index; }, kInputStepMs);
    }

    // The folder the active tab shows, as the saved list has it.
    bool WaitForActiveFolder(const std::filesystem::path& folder) {
        std::vector<std::wstring> expected = folders;
        expected[0] = folder.wstring();
        return WaitForSavedTabs(expected);
    }
};

TEST_F(KeysTest, CtrlTOpensATabCtrlWClosesItAndCtrlShiftTReopensTheClosedFolder) {
    Chord({VK_CONTROL, 'T'});
    ASSERT_TRUE(WaitForTabCount(4)) << "Ctrl+T opened no tab";
    EXPECT_TRUE(WaitForActiveTab(3));
    Chord({VK_CONTROL, 'W'});
    ASSERT_TRUE(WaitForTabCount(3)) << "Ctrl+W closed no tab";
    // Its neighbour, the last saved tab, is active now.
    Chord({VK_CONTROL, 'W'});
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_TRUE(WaitForHistory({kComputerFolder, folders[2]}));
    Chord({VK_CONTROL, VK_SHIFT, 'T'});
    EXPECT_TRUE(WaitForSavedTabs(folders)) << "Ctrl+Shift+T did not bring the closed folder back";
}

TEST_F(KeysTest, CtrlTabStepsThroughTheTabsWrappingAndCtrlNumbersPickThem) {
    Chord({VK_CONTROL, VK_SHIFT, VK_TAB});
    EXPECT_TRUE(WaitForActiveTab(2)) << "Ctrl+Shift+Tab on the first tab did not wrap to the last";
    Chord({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(WaitForActiveTab(0)) << "Ctrl+Tab on the last tab did not wrap to the first";
    Chord({VK_CONTROL, '2'});
    EXPECT_TRUE(WaitForActiveTab(1));
    Chord({VK_CONTROL, '9'});
    EXPECT_TRUE(WaitForActiveTab(2)) << "Ctrl+9 did not pick the last tab";
}

TEST_F(KeysTest, CtrlNOpensASecondWindowOnTheNewTabFolder) {
    Chord({VK_CONTROL, 'N'});
    const HWND second = WaitForSecondWindow();
    ASSERT_NE(second, nullptr) << "Ctrl+N opened no window";
    EXPECT_TRUE(WaitUntil([&] { return Query(GetDlgItem(second, 7), kTabCount) == 1; }, kInputStepMs));
    EXPECT_TRUE(WaitForSavedTabs({folders[0], folders[1], folders[2], kComputerFolder}));
}

TEST_F(KeysTest, AltUpGoesUpAndAltLeftComesBack) {
    Chord({VK_MENU, VK_UP});
    ASSERT_TRUE(WaitForActiveFolder(data.Path())) << "Alt+Up did not go to the parent folder";
    Chord({VK_MENU, VK_LEFT});
    EXPECT_TRUE(WaitForSavedTabs(folders)) << "Alt+Left did not go back";
}

TEST_F(KeysTest, AltDOpensTheAddressEditWhereBackspaceDeletesRatherThanGoesBack) {
    Chord({VK_MENU, VK_UP});
    ASSERT_TRUE(WaitForActiveFolder(data.Path()));
    Chord({VK_MENU, 'D'});
    HWND edit = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            edit = FocusOf(window);
            return edit && ClassOf(edit) == L"Edit" && WindowText(edit) == data.Path().wstring();
        },
        kInputStepMs))
        << "Alt+D left the focus outside an address edit showing the folder";
    Key(VK_END);
    Key(VK_BACK);
    const std::wstring shortened = data.Path().wstring().substr(0, data.Path().wstring().size() - 1);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == shortened; }, kInputStepMs))
        << "Backspace did not delete a character of the address";
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(window) != edit; }, kInputStepMs));
    EXPECT_TRUE(WaitForActiveFolder(data.Path())) << "Backspace in the address edit went back";
}

}  // namespace
