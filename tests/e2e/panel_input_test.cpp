#include <windows.h>
#include <shlobj.h>

#include <string>

#include "common/private_prefix.h"
#include "common/registry_set_aside.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"

namespace {

constexpr int kBackCommand = 4001;
constexpr wchar_t kCabinetStateKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CabinetState";

// One tab on the folder that holds alpha, beta and 资料, in a window placed
// where the tests know it to be, its items driven by the mouse.
class PanelInputTest : public TabsTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + data.Path().wstring() + L"\""; }

    void SetUp() override {
        ASSERT_TRUE(cabinetState.Ready()) << "could not set the shell's cabinet state aside";
        TabsTest::SetUp();
        if (HasFatalFailure()) return;
        home = data.Path().filename().wstring();
        ASSERT_TRUE(WaitForTitle(home));
        SetWindowPos(window, nullptr, 0, 0, 900, 600, SWP_NOZORDER);
        SetForegroundWindow(window);
        ASSERT_TRUE(WaitUntil([&] { return (list = FindDescendant(window, L"SysListView32")) != nullptr; }, 10000))
            << "the panel shows no list view";
    }

    void TearDown() override { PlaceCursor(POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1}); }

    bool WaitForTitle(const std::wstring& title) {
        return WaitUntil([&] { return WindowText(strip) == title; }, 15000);
    }

    // The screen point over a folder of the shown list, once it shows it.
    POINT ItemPoint(const std::wstring& name) {
        POINT centre{};
        EXPECT_TRUE(WaitUntil(
            [&] {
                list = ShownPanelDescendant(window, L"SysListView32");
                const int index = list ? FindListItem(list, name) : -1;
                return index >= 0 && ListItemLabelCentre(list, index, centre);
            },
            10000))
            << "the list shows no " << NarrowForTest(name);
        return centre;
    }

    // The screen point over a folder of the shown tab's navigation tree, once
    // it shows it; the tree is kept in tree.
    POINT TreeItemPoint(const std::wstring& name) {
        POINT centre{};
        EXPECT_TRUE(WaitUntil(
            [&] {
                tree = ShownPanelDescendant(window, L"SysTreeView32");
                return tree && VisibleTreeItemCentre(tree, name, centre);
            },
            10000))
            << "the navigation pane shows no " << NarrowForTest(name);
        return centre;
    }

    // The panel stays on its folder: the saved list starts with it, and holds
    // count tabs in all.
    bool WaitForSavedTabsAfterHome(size_t count) const {
        return WaitUntil(
            [&] {
                const std::vector<std::wstring> saved = ReadConfigLines(install, L"tabs.txt");
                return saved.size() == count && lstrcmpiW(saved[0].c_str(), data.Path().wstring().c_str()) == 0;
            },
            10000);
    }

    void DoubleClick(const std::wstring& name) {
        const POINT point = ItemPoint(name);
        ASSERT_TRUE(ClickOn(list, point));
        Buttons(MOUSEEVENTF_LEFTDOWN);
        Buttons(MOUSEEVENTF_LEFTUP);
    }

    // Right-clicks a folder and waits for the menu that opens.
    void RightClick(const std::wstring& name) {
        const POINT point = ItemPoint(name);
        ASSERT_TRUE(ClickOn(list, point, MOUSEEVENTF_RIGHTDOWN));
        ASSERT_TRUE(WaitUntil(MenuShown, kInputStepMs)) << "no menu opened";
    }

    static void ChooseFirstMenuEntry() {
        Key(VK_DOWN);
        Key(VK_RETURN);
        ASSERT_TRUE(WaitUntil([] { return !MenuShown(); }, kInputStepMs)) << "the menu stayed open";
    }

    // The shell's choice to open each folder in a window of its own.
    static void SetNewWindowPerFolder() {
        CABINETSTATE state{};
        state.cLength = sizeof(state);
        state.nVersion = 2;
        state.fNewWindowMode = TRUE;
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kCabinetStateKey, L"Settings", REG_BINARY, &state, sizeof(state)),
                  ERROR_SUCCESS);
    }

    RegistryKeySetAside cabinetState{HKEY_CURRENT_USER, kCabinetStateKey};
    std::wstring home;
    HWND list = nullptr;
    HWND tree = nullptr;
};

TEST_F(PanelInputTest, DoubleClickingAFolderOpensItHereOrInATabAsTheShellChooses) {
    DoubleClick(L"alpha");
    ASSERT_TRUE(WaitForTitle(L"alpha")) << "the double click did not open the folder here";
    EXPECT_EQ(Query(strip, kTabCount), 1);

    PostMessageW(window, WM_COMMAND, kBackCommand, 0);
    ASSERT_TRUE(WaitForTitle(home)) << "Back did not return";

    SetNewWindowPerFolder();
    DoubleClick(L"beta");
    ASSERT_TRUE(WaitForTabCount(2)) << "the folder did not open in a tab";
    EXPECT_TRUE(WaitForSavedTabs({data.Path().wstring(), folders[1]}));
}

TEST_F(PanelInputTest, TheFolderMenuAndTheNavigationTreeOpenFoldersInTabs) {
    RightClick(L"资料");
    ChooseFirstMenuEntry();
    ASSERT_TRUE(WaitForTabCount(2)) << "the menu's first entry did not open a tab";
    ASSERT_TRUE(WaitForSavedTabs({data.Path().wstring(), folders[2]}));

    // Back on the first tab, its next right click shows a menu of its own again.
    Query(strip, kSelectTab, 0);
    ASSERT_TRUE(WaitForTitle(home));
    RightClick(L"beta");
    ChooseFirstMenuEntry();
    ASSERT_TRUE(WaitForTabCount(3)) << "the second right click showed no menu";

    // A folder clicked in the tree opens in a tab, and the panel stays where it is.
    Query(strip, kSelectTab, 0);
    ASSERT_TRUE(WaitForTitle(home));
    const POINT documents = TreeItemPoint(L"Documents");
    ASSERT_TRUE(ClickOn(tree, documents));
    ASSERT_TRUE(WaitForTabCount(4)) << "the tree's folder did not open in a tab: " << Query(strip, kTabCount)
                                    << " tabs, the shown one called " << NarrowForTest(WindowText(strip));
    EXPECT_TRUE(WaitForSavedTabsAfterHome(4));
}

// Each folder goes to a tab behind this one, after those opened before it,
// from the list and from the tree.
TEST_F(PanelInputTest, AMiddleClickOpensAFolderInATabBehindTheActiveOne) {
    ASSERT_TRUE(ClickOn(list, ItemPoint(L"alpha"), MOUSEEVENTF_MIDDLEDOWN));
    ASSERT_TRUE(WaitForTabCount(2)) << "the middle click opened no tab";
    ASSERT_TRUE(ClickOn(list, ItemPoint(L"beta"), MOUSEEVENTF_MIDDLEDOWN));
    EXPECT_TRUE(WaitForSavedTabs({data.Path().wstring(), folders[0], folders[1]}));
    POINT documents = TreeItemPoint(L"Documents");
    // Sent rather than pressed, and again until it takes: the tree appears some
    // time after the folder, and the program's upkeep of the shell's windows
    // finds it within 400 ms.
    ScreenToClient(tree, &documents);
    WaitUntil(
        [&] {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(tree, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(documents.x, documents.y),
                                SMTO_ABORTIFHUNG, 5000, &answer);
            return Query(strip, kTabCount) == 4;
        },
        10000, 100);
    ASSERT_TRUE(WaitForTabCount(4)) << "the tree's middle click opened no tab: " << Query(strip, kTabCount)
                                    << " tabs, the shown one called " << NarrowForTest(WindowText(strip));
    EXPECT_EQ(Query(strip, kActiveTab), 0) << "a folder's tab came to the front";
    EXPECT_TRUE(WaitForTitle(home)) << "the panel left its folder";
    EXPECT_TRUE(WaitForSavedTabsAfterHome(4));
}

TEST_F(PanelInputTest, CtrlShiftCCopiesTheSelectedItemsPathsOrElseTheFolders) {
    const auto clipboardText = [] {
        std::wstring text;
        if (!OpenClipboard(nullptr)) return text;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = chars;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
    };
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(window) != nullptr && SetForegroundWindow(window); }, kInputStepMs));
    Chord({VK_CONTROL, VK_SHIFT, 'C'});
    EXPECT_TRUE(WaitUntil([&] { return clipboardText() == L"\"" + data.Path().wstring() + L"\""; }, kInputStepMs))
        << "with nothing selected the folder's own path is copied, not " << NarrowForTest(clipboardText());
    ASSERT_TRUE(ClickOn(list, ItemPoint(L"alpha")));
    ASSERT_TRUE(WaitUntil([&] { return SelectedListItems(list) == std::vector<std::wstring>{L"alpha"}; }, kInputStepMs));
    Chord({VK_CONTROL, VK_SHIFT, 'C'});
    EXPECT_TRUE(WaitUntil([&] { return clipboardText() == L"\"" + folders[0] + L"\""; }, kInputStepMs))
        << "copied " << NarrowForTest(clipboardText());
}

}  // namespace
