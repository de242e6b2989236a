#include <windows.h>

#include <string>

#include "common/private_prefix.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"

namespace {

constexpr int kCommandBarId = 1;
constexpr int kSearchBoxId = 4013;
constexpr int kAddressEditId = 4009;

// Two restored tabs, alpha active; Wine has no search service, so every search
// that gets as far as the service ends in its warning.
class SearchTest : public TabsTest {
protected:
    void PrepareConfig() override { ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", {folders[0], folders[1]})); }

    void SetUp() override {
        TabsTest::SetUp();
        if (HasFatalFailure()) return;
        searchBox = GetDlgItem(GetDlgItem(window, kCommandBarId), kSearchBoxId);
        ASSERT_NE(searchBox, nullptr) << "no search box";
        ASSERT_TRUE(WaitForTabCount(2));
        ASSERT_TRUE(WaitUntil([&] { return WindowText(strip) == L"alpha"; }, 15000));
    }

    void Type(const std::wstring& text) {
        LRESULT ignored = 0;
        ASSERT_TRUE(SendWithTimeout(searchBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), ignored));
    }

    HWND searchBox = nullptr;
};

TEST_F(SearchTest, AMissingSearchServiceIsReportedOnceAfterThePause) {
    Type(L"r");
    Type(L" rep ");
    EXPECT_EQ(WindowText(strip), L"rep-\"alpha\"中的搜索结果");

    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(quorlen.Id())) != nullptr; }, 15000))
        << "no warning appeared";
    EXPECT_EQ(MessageBoxText(box), L"系统搜索服务不可用");
    EXPECT_EQ(WindowText(box), L"Quorlen文件资源管理器");
    PostMessageW(box, WM_COMMAND, IDOK, 0);

    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"alpha"; }, 10000))
        << "the tab is called '" << NarrowForTest(WindowText(strip)) << "'";
    EXPECT_TRUE(WaitUntil([&] { return FindMessageBox(quorlen.Id()) == nullptr; }, 5000));
    // One pause, one search: no second warning follows.
    Sleep(1500);
    EXPECT_EQ(FindMessageBox(quorlen.Id()), nullptr);
    EXPECT_EQ(lstrcmpiW(WindowText(GetDlgItem(GetDlgItem(window, kCommandBarId), kAddressEditId)).c_str(),
                        folders[0].c_str()),
              0);
    EXPECT_EQ(Query(strip, kTabCount), 2);
}

TEST_F(SearchTest, SwitchingTabsCancelsAPendingSearchSilently) {
    Type(L"rep");
    LRESULT ignored = 0;
    ASSERT_TRUE(SendWithTimeout(strip, kSelectTab, 1, 0, ignored));
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == 1; }, 5000));
    EXPECT_EQ(WindowText(searchBox), L"");

    Sleep(1500);
    EXPECT_EQ(FindMessageBox(quorlen.Id()), nullptr) << "the cancelled search still ran";
    ASSERT_TRUE(SendWithTimeout(strip, kSelectTab, 0, 0, ignored));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"alpha"; }, 5000))
        << "the left tab is called '" << NarrowForTest(WindowText(strip)) << "'";
}

}  // namespace
