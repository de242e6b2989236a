#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>

#include "common/private_prefix.h"
#include "ui/handles.h"
#include "ui/nav_pane_sizer.h"
#include "ui/resize_band.h"
#include "ui/shell_icons.h"
#include "ui/shell_items.h"
#include "ui/text.h"

namespace {

class ShellItems : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

TEST_F(ShellItems, MakeItemsOnlyFromSomethingToParse) {
    ComPtr<IShellItem> item;
    EXPECT_EQ(ItemFromPath(L"C:\\windows", nullptr), E_POINTER);
    EXPECT_EQ(ItemFromPath(L"", item.put()), E_INVALIDARG);
    EXPECT_EQ(ItemFromIdList(nullptr, item.put()), E_INVALIDARG);
    EXPECT_FALSE(SUCCEEDED(ItemFromPath(L"Q:\\no such folder\\anywhere", item.put())));
    EXPECT_EQ(item.get(), nullptr);
    EXPECT_EQ(DisplayName(nullptr), L"");
    EXPECT_EQ(ParsingPath(nullptr), L"");
}

TEST_F(ShellItems, FoldersAreNamedByParsingPathAndShownByDisplayName) {
    ComPtr<IShellItem> item;
    ASSERT_EQ(ItemFromPath(L"C:\\windows\\system32\\", item.put()), S_OK);
    EXPECT_TRUE(EqualsIgnoringCase(ParsingPath(item.get()), L"C:\\windows\\system32"));
    EXPECT_TRUE(EqualsIgnoringCase(DisplayName(item.get()), L"system32"));

    UniqueIdList list;
    ASSERT_EQ(SHGetIDListFromObject(item.get(), list.put()), S_OK);
    ComPtr<IShellItem> again;
    ASSERT_EQ(ItemFromIdList(list.get(), again.put()), S_OK);
    EXPECT_EQ(ParsingPath(again.get()), ParsingPath(item.get()));

    ComPtr<IShellItem> computer;
    ASSERT_EQ(ItemFromPath(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", computer.put()), S_OK);
    EXPECT_TRUE(StartsWithIgnoringCase(ParsingPath(computer.get()), L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"));
    EXPECT_FALSE(DisplayName(computer.get()).empty());
}

TEST_F(ShellItems, IconsComeFromTheSmallSystemImageList) {
    HIMAGELIST list = SmallSystemImageList();
    ASSERT_NE(list, nullptr);
    const int folder = FolderIconIndex();
    ASSERT_GE(folder, 0);
    EXPECT_EQ(FolderIconIndex(), folder);
    EXPECT_LT(folder, ImageList_GetImageCount(list));

    ComPtr<IShellItem> item;
    ASSERT_EQ(ItemFromPath(L"C:\\windows", item.put()), S_OK);
    EXPECT_GE(ItemIconIndex(item.get(), false), 0);
    EXPECT_EQ(ItemIconIndex(nullptr, false), -1);

    UniqueIcon large(FolderIconLarge());
    EXPECT_TRUE(large);
}

TEST(InResizeBand, EightPixelsAlongEveryEdge) {
    const RECT window{100, 100, 500, 400};
    EXPECT_TRUE(InResizeBandOfRect(window, POINT{107, 250}));
    EXPECT_FALSE(InResizeBandOfRect(window, POINT{108, 250}));
    EXPECT_TRUE(InResizeBandOfRect(window, POINT{492, 250}));
    EXPECT_FALSE(InResizeBandOfRect(window, POINT{491, 250}));
    EXPECT_TRUE(InResizeBandOfRect(window, POINT{300, 107}));
    EXPECT_TRUE(InResizeBandOfRect(window, POINT{300, 392}));
    EXPECT_FALSE(InResizeBandOfRect(window, POINT{300, 391}));
}

TEST(InResizeBand, ChildWindowsAnswerForTheirTopLevelWindowExceptWhenMaximised) {
    HWND top = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(top, nullptr);
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, top, nullptr, nullptr,
                                 nullptr);
    EXPECT_TRUE(InResizeBand(child, POINT{102, 200}));
    EXPECT_FALSE(InResizeBand(child, POINT{300, 200}));

    // A list with a scroll bar along its right side, well inside the frame.
    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_DISABLENOSCROLL, 100,
                                50, 200, 200, top, nullptr, nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    RECT listRect{};
    GetWindowRect(list, &listRect);
    const LPARAM onScrollBar = MAKELPARAM(listRect.right - 3, (listRect.top + listRect.bottom) / 2);
    ASSERT_EQ(SendMessageW(list, WM_NCHITTEST, 0, onScrollBar), HTVSCROLL);

    // Once subclassed, a child says it is client area in the frame's band so the
    // frame's cursors stay away, and keeps its own answers everywhere else.
    BorderCursorSubclass(top);
    EXPECT_EQ(SendMessageW(child, WM_NCHITTEST, 0, MAKELPARAM(102, 200)), HTCLIENT);
    EXPECT_EQ(SendMessageW(list, WM_NCHITTEST, 0, onScrollBar), HTVSCROLL);

    ShowWindow(top, SW_MAXIMIZE);
    EXPECT_FALSE(InResizeBand(child, POINT{102, 200}));
    DestroyWindow(top);
}

// The navigation pane's remembered width, written for the shell and removed again.
TEST(WriteNavPaneSizer, WritesAndRemovesTheShellsPaneWidth) {
    REQUIRE_PRIVATE_TEST_PREFIX();
    constexpr wchar_t kKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Modules\\GlobalSettings\\Sizer";
    BYTE original[64] = {};
    DWORD originalSize = sizeof(original);
    DWORD originalType = REG_NONE;
    const bool wasThere = RegGetValueW(HKEY_CURRENT_USER, kKey, L"PageSpaceControlSizer", RRF_RT_ANY, &originalType,
                                       original, &originalSize) == ERROR_SUCCESS;
    BYTE data[32] = {};
    ASSERT_TRUE(WriteNavPaneSizer(true));
    DWORD size = sizeof(data);
    DWORD type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kKey, L"PageSpaceControlSizer", RRF_RT_ANY, &type, data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    const BYTE expected[16] = {0xA0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0x7A, 0x04, 0, 0};
    ASSERT_EQ(size, sizeof(expected));
    EXPECT_EQ(memcmp(data, expected, sizeof(expected)), 0);

    EXPECT_TRUE(WriteNavPaneSizer(false));
    size = sizeof(data);
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kKey, L"PageSpaceControlSizer", RRF_RT_ANY, nullptr, data, &size),
              ERROR_FILE_NOT_FOUND);
    if (wasThere) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"PageSpaceControlSizer", originalType, original, originalSize);
    }
}

}  // namespace
