#include <windows.h>

#include <string>
#include <vector>

#include "common/bitmap_pixels.h"
#include "common/private_prefix.h"
#include "common/screenshot.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"
#include "tabstrip/tab_strip_messages.h"

namespace {

constexpr int kCommandBarId = 1;
constexpr int kBackId = 4001;
constexpr int kForwardId = 4002;
constexpr int kAddressEditId = 4009;
constexpr int kSearchBoxId = 4013;

// One tab on folders[0], driven through its command bar.
class CommandBarTest : public TabsTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + folders[0] + L"\""; }

    void SetUp() override {
        TabsTest::SetUp();
        if (HasFatalFailure()) return;
        bar = GetDlgItem(window, kCommandBarId);
        ASSERT_NE(bar, nullptr) << "no command bar";
        ASSERT_TRUE(WaitUntil([&] { return WindowText(strip) == L"alpha"; }, 15000));
    }

    HWND Control(int id) const { return GetDlgItem(bar, id); }

    // Types a text into the address edit and presses Enter there. A request that
    // may bring up a warning goes as the command Enter raises, posted, since the
    // warning holds the window in its own loop until it is answered.
    void OpenTypedAddress(const std::wstring& text, bool mayWarn = false) {
        HWND edit = Control(kAddressEditId);
        LRESULT ignored = 0;
        ASSERT_TRUE(SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), ignored));
        if (mayWarn) {
            ASSERT_TRUE(PostMessageW(window, WM_COMMAND, kAddressEditId, 0));
        } else {
            ASSERT_TRUE(SendWithTimeout(edit, WM_KEYDOWN, VK_RETURN, 0, ignored));
        }
    }

    void Click(int id) {
        LRESULT ignored = 0;
        ASSERT_TRUE(SendWithTimeout(Control(id), BM_CLICK, 0, 0, ignored));
    }

    bool WaitForTitle(const std::wstring& title) {
        return WaitUntil([&] { return WindowText(strip) == title; }, 15000);
    }

    HWND bar = nullptr;
};

TEST_F(CommandBarTest, BackAndForwardFollowThePanelsHistory) {
    EXPECT_FALSE(IsWindowEnabled(Control(kBackId)));
    EXPECT_FALSE(IsWindowEnabled(Control(kForwardId)));

    OpenTypedAddress(L" \t" + folders[1] + L"  ");
    ASSERT_TRUE(WaitForTitle(L"beta"));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(Control(kBackId)) != FALSE; }, 5000));
    EXPECT_FALSE(IsWindowEnabled(Control(kForwardId)));
    EXPECT_EQ(Query(strip, kTabCount), 1);

    Click(kBackId);
    ASSERT_TRUE(WaitForTitle(L"alpha"));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(Control(kForwardId)) != FALSE; }, 5000));
    EXPECT_FALSE(IsWindowEnabled(Control(kBackId)));

    Click(kForwardId);
    ASSERT_TRUE(WaitForTitle(L"beta"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(Control(kForwardId)); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(Control(kBackId)));
}

TEST_F(CommandBarTest, AnUnopenableAddressWarnsAndShowsTheCurrentFolderAgain) {
    // Blanks alone are no address: nothing happens, and no warning stands in
    // the way of the next request.
    OpenTypedAddress(L"  \t ");
    EXPECT_EQ(FindMessageBox(quorlen.Id()), nullptr);
    OpenTypedAddress((data.Path() / L"no such folder").wstring(), true);

    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(quorlen.Id())) != nullptr; }, 15000))
        << "no warning appeared";
    EXPECT_EQ(MessageBoxText(box), L"无法打开该路径");
    EXPECT_EQ(WindowText(box), L"Quorlen文件资源管理器");
    PostMessageW(box, WM_COMMAND, IDOK, 0);

    EXPECT_TRUE(WaitUntil([&] { return lstrcmpiW(WindowText(Control(kAddressEditId)).c_str(), folders[0].c_str()) == 0; },
                          10000))
        << "the address reads '" << NarrowForTest(WindowText(Control(kAddressEditId))) << "'";
    EXPECT_EQ(WindowText(strip), L"alpha");
    EXPECT_TRUE(WaitUntil([&] { return FindMessageBox(quorlen.Id()) == nullptr; }, 5000));
}

// The x of every separator line between address segments, across the middle of
// the bar's first row, as the screen shows it.
std::vector<int> AddressSeparators(HWND bar) {
    RECT client{};
    GetClientRect(bar, &client);
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const UniqueBitmap shot = CaptureScreenRect(client);
    const PixelImage picture = shot ? ReadBitmapPixels(shot.get()) : PixelImage{};
    std::vector<int> found;
    const int rowMiddle = 17;
    for (int x = 0; x < picture.width && rowMiddle < picture.height; ++x) {
        const RGBQUAD& pixel = picture.At(x, rowMiddle);
        if (pixel.rgbRed == 180 && pixel.rgbGreen == 180 && pixel.rgbBlue == 180) found.push_back(x);
    }
    return found;
}

TEST_F(CommandBarTest, ASegmentOpensItsFolderAndTheEmptyAreaOpensTheEdit) {
    std::vector<int> separators;
    ASSERT_TRUE(WaitUntil([&] { return !(separators = AddressSeparators(bar)).empty(); }, 10000))
        << "no address segments on screen";
    const LPARAM onParent = MAKELPARAM(separators.back() - 8, 17);
    PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, onParent);
    PostMessageW(bar, WM_LBUTTONUP, 0, onParent);
    const std::wstring parentName = data.Path().filename().wstring();
    ASSERT_TRUE(WaitForTitle(parentName)) << "the tab is called '" << NarrowForTest(WindowText(strip)) << "'";
    EXPECT_EQ(Query(strip, kTabCount), 1);

    // Just left of the search box lies the empty end of the address area.
    RECT searchBox{};
    GetWindowRect(Control(kSearchBoxId), &searchBox);
    MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&searchBox), 2);
    const LPARAM onEmptyArea = MAKELPARAM(searchBox.left - 16, 17);
    PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, onEmptyArea);
    PostMessageW(bar, WM_LBUTTONUP, 0, onEmptyArea);
    HWND edit = Control(kAddressEditId);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(edit) != FALSE; }, 5000)) << "the address edit did not open";
    const std::wstring shown = WindowText(edit);
    EXPECT_EQ(lstrcmpiW(shown.c_str(), data.Path().wstring().c_str()), 0) << NarrowForTest(shown);
    LRESULT selection = 0;
    ASSERT_TRUE(SendWithTimeout(edit, EM_GETSEL, 0, 0, selection));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), shown.size());
}

// Two favourites, reached through the star's drop-down and the tab menu.
class FavouritesTest : public TabsTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + folders[0] + L"\""; }
    void PrepareConfig() override { ASSERT_TRUE(WriteConfigLines(install, L"favorites.txt", {folders[1], folders[2]})); }

    void SetUp() override {
        TabsTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(WaitUntil([&] { return WindowText(strip) == L"alpha"; }, 15000));
    }

    // Presses the star and returns the drop-down it opens.
    HWND OpenDropDown() {
        const LRESULT starLeft = Query(strip, kTabStripStarLeftMessage);
        const LPARAM point = MAKELPARAM(starLeft + 6, 13);
        PostMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(strip, WM_LBUTTONUP, 0, point);
        HWND list = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (list = FindProcessWindow(quorlen.Id(), L"Quorlen.FavList")) != nullptr; },
                              10000))
            << "the favourites drop-down did not open";
        return list;
    }

    // Clicks a row of the drop-down, on its name or on its remove mark.
    void ClickRow(HWND list, int row, bool onRemoveMark) {
        RECT client{};
        GetClientRect(list, &client);
        const int rowHeight = client.bottom / 2;
        const int x = onRemoveMark ? client.right - 8 : 40;
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, row * rowHeight + rowHeight / 2));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(list); }, 10000)) << "a click left the drop-down open";
    }
};

TEST_F(FavouritesTest, TheDropDownOpensAFavouriteInATabAndRemovesOne) {
    HWND list = OpenDropDown();
    ASSERT_NE(list, nullptr);
    ClickRow(list, 1, false);
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"资料"; }, 10000));

    list = OpenDropDown();
    ASSERT_NE(list, nullptr);
    ClickRow(list, 0, true);
    EXPECT_TRUE(WaitUntil([&] { return SamePaths(ReadConfigLines(install, L"favorites.txt"), {folders[2]}); }, 10000));
    EXPECT_EQ(Query(strip, kTabCount), 2);
}

TEST_F(FavouritesTest, TheTabMenuAddsTheTabsFolderOnce) {
    RECT tabArea{};
    GetWindowRect(strip, &tabArea);
    const POINT onFirstTab{tabArea.left + 40, tabArea.top + 13};
    for (int attempt = 0; attempt < 2; ++attempt) {
        PostMessageW(strip, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(strip), MAKELPARAM(onFirstTab.x, onFirstTab.y));
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (menu = FindProcessWindow(quorlen.Id(), L"#32768")) != nullptr; }, 10000))
            << "no menu appeared";
        // "收藏此文件夹(&A)".
        PostMessageW(menu, WM_CHAR, L'a', 0);
        ASSERT_TRUE(WaitUntil([&] { return FindProcessWindow(quorlen.Id(), L"#32768") == nullptr; }, 10000));
        EXPECT_TRUE(WaitUntil(
            [&] { return SamePaths(ReadConfigLines(install, L"favorites.txt"), {folders[1], folders[2], folders[0]}); },
            10000));
    }
}

}  // namespace
