#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tab_strip_fixture.h"
#include "tabstrip/tab_strip.h"
#include "tabstrip/tab_strip_messages.h"

namespace {

// Short enough that every tab gets the narrowest width, 100 DIPs.
const std::vector<std::wstring> kShortTitles{L"a", L"b", L"c"};
// Long enough that its tab gets the widest, 250 DIPs.
const std::wstring kLongTitle = L"这是一个名字非常非常非常非常非常长的文件夹用来看看标题在标签里会不会被省略号截断的测试目录";

TEST_F(TabStripTest, IsAChildWindowOfItsOwnClassThatTakesDoubleClicks) {
    HWND window = strip->Hwnd();
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"Quorlen.TabStrip");
    EXPECT_EQ(GetParent(window), parent);
    EXPECT_EQ(GetDlgCtrlID(window), 7);
    EXPECT_TRUE(GetClassLongPtrW(window, GCL_STYLE) & CS_DBLCLKS);
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(0, 0)), HTCLIENT);
    EXPECT_EQ(SendMessageW(window, WM_ERASEBKGND, 0, 0), 1);

    // A second strip shares the class; one object never makes two windows.
    TabStrip second;
    EXPECT_TRUE(second.Create(parent, 8));
    EXPECT_FALSE(second.Create(parent, 9));
}

TEST_F(TabStripTest, AnswersCountActiveIndexAndButtonEdges) {
    HWND window = strip->Hwnd();
    EXPECT_EQ(SendMessageW(window, kTabStripCountMessage, 0, 0), 0);
    EXPECT_EQ(SendMessageW(window, kTabStripPlusLeftMessage, 0, 0), 4);

    strip->SetTabs(kShortTitles, 1, {});
    EXPECT_EQ(SendMessageW(window, kTabStripCountMessage, 0, 0), 3);
    EXPECT_EQ(SendMessageW(window, kTabStripActiveMessage, 0, 0), 1);
    EXPECT_EQ(SendMessageW(window, kTabStripPlusLeftMessage, 0, 0), 306);
    EXPECT_EQ(SendMessageW(window, kTabStripStarLeftMessage, 0, 0), 650);
    EXPECT_EQ(SendMessageW(window, kTabStripSettingsLeftMessage, 0, 0), 672);
    EXPECT_EQ(SendMessageW(window, kTabStripFolderOptionsLeftMessage, 0, 0), 698);
    EXPECT_EQ(SendMessageW(window, kTabStripMinimizeLeftMessage, 0, 0), 724);
    EXPECT_EQ(SendMessageW(window, kTabStripMaximizeLeftMessage, 0, 0), 749);
    EXPECT_EQ(SendMessageW(window, kTabStripCloseLeftMessage, 0, 0), 774);
    for (UINT unlisted : {kTabStripCountMessage - 1, kTabStripSettingsLeftMessage + 1,
                          kTabStripFolderOptionsLeftMessage + 1, kTabStripCloseLeftMessage + 1}) {
        EXPECT_EQ(SendMessageW(window, unlisted, 0, 0), 0) << std::hex << unlisted;
    }

    // The layout follows the window's size and the DPI.
    Resize(96, 1000, 27);
    EXPECT_EQ(SendMessageW(window, kTabStripCloseLeftMessage, 0, 0), 974);
    Resize(192, 1600, 54);
    EXPECT_EQ(SendMessageW(window, kTabStripCloseLeftMessage, 0, 0), 1548);
    EXPECT_EQ(SendMessageW(window, kTabStripPlusLeftMessage, 0, 0), 612);
}

TEST_F(TabStripTest, SelectAndCloseMessagesRaiseEventsForExistingTabsOnly) {
    HWND window = strip->Hwnd();
    strip->SetTabs(kShortTitles, 0, {});
    EXPECT_EQ(SendMessageW(window, kTabStripSelectMessage, 1, 0), 0);

    std::vector<std::pair<int, int>> events;
    strip->onEvent = [&events](int event, int index) { events.emplace_back(event, index); };
    EXPECT_EQ(SendMessageW(window, kTabStripSelectMessage, 2, 0), 0);
    EXPECT_EQ(SendMessageW(window, kTabStripSelectMessage, 3, 0), 0);
    EXPECT_EQ(SendMessageW(window, kTabStripCloseMessage, 0, 0), 0);
    EXPECT_EQ(SendMessageW(window, kTabStripCloseMessage, 3, 0), 0);
    EXPECT_EQ(SendMessageW(window, kTabStripCloseMessage, static_cast<WPARAM>(-1), 0), 0);
    const std::vector<std::pair<int, int>> expected{{0, 2}, {1, 0}};
    EXPECT_EQ(events, expected);
    // Only the owner changes the tabs.
    EXPECT_EQ(SendMessageW(window, kTabStripCountMessage, 0, 0), 3);
    EXPECT_EQ(SendMessageW(window, kTabStripActiveMessage, 0, 0), 0);
}

TEST_F(TabStripTest, AnEventHandlerMayChangeTheTabsOrDestroyTheStrip) {
    HWND window = strip->Hwnd();
    strip->SetTabs(kShortTitles, 0, {});
    strip->onEvent = [this](int, int index) { strip->SetTabs({L"only"}, index, {}); };
    SendMessageW(window, kTabStripSelectMessage, 0, 0);
    EXPECT_EQ(SendMessageW(window, kTabStripCountMessage, 0, 0), 1);

    strip->onEvent = [this](int, int) { strip.reset(); };
    EXPECT_EQ(SendMessageW(window, kTabStripCloseMessage, 0, 0), 0);
    EXPECT_FALSE(strip);
    EXPECT_FALSE(IsWindow(window));
}

std::wstring StripText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

TEST_F(TabStripTest, ItsTextIsTheActiveTabsTitle) {
    const std::vector<std::wstring> titles{L"文档", L"Music", L"C:\\"};
    strip->SetTabs(titles, 1, {});
    EXPECT_EQ(StripText(strip->Hwnd()), L"Music");
    strip->SetActive(0);
    EXPECT_EQ(StripText(strip->Hwnd()), L"文档");
    strip->SetTitle(2, L"elsewhere");
    EXPECT_EQ(StripText(strip->Hwnd()), L"文档");
    strip->SetTitle(0, L"资料");
    EXPECT_EQ(StripText(strip->Hwnd()), L"资料");
    strip->SetTabs({}, -1, {});
    EXPECT_EQ(StripText(strip->Hwnd()), L"");
}

TEST_F(TabStripTest, LosingTheWindowLeavesAnObjectThatIsSafeToUse) {
    strip->SetTabs(kShortTitles, 0, {});
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_EQ(strip->Hwnd(), nullptr);
    strip->SetTabs(kShortTitles, 1, {});
    strip->SetLoading(0, true);
    strip->Layout();
    EXPECT_EQ(strip->HeightForWidth(0), 27);
    EXPECT_EQ(strip->TabIndexAt(POINT{0, 0}), 3);
    EXPECT_EQ(strip->InsertionIndexAt(POINT{0, 0}), 3);
}

TEST_F(TabStripTest, HeightCountsTheRowsOfTabsAndThePlus) {
    EXPECT_EQ(strip->HeightForWidth(0), 27);
    strip->SetTabs(kShortTitles, 0, {});
    EXPECT_EQ(strip->HeightForWidth(0), 27);
    EXPECT_EQ(strip->HeightForWidth(400), 54);
    // Three 100 px tabs leave room for the "+" from 478 px on.
    EXPECT_EQ(strip->HeightForWidth(478), 27);
    EXPECT_EQ(strip->HeightForWidth(477), 54);

    strip->SetTitle(0, kLongTitle);
    EXPECT_EQ(strip->HeightForWidth(628), 27);
    EXPECT_EQ(strip->HeightForWidth(627), 54);
    EXPECT_EQ(SendMessageW(strip->Hwnd(), kTabStripPlusLeftMessage, 0, 0), 456);

    Resize(192, 1600, 54);
    EXPECT_EQ(strip->HeightForWidth(0), 54);
    EXPECT_EQ(strip->HeightForWidth(955), 108);
}

TEST_F(TabStripTest, ScreenPointsAreTakenRelativeToTheStrip) {
    strip->SetTabs(kShortTitles, 0, {});
    auto screen = [this](int x, int y) {
        POINT point{x, y};
        ClientToScreen(strip->Hwnd(), &point);
        return point;
    };
    EXPECT_EQ(strip->TabIndexAt(screen(150, 10)), 1);
    EXPECT_EQ(strip->InsertionIndexAt(screen(150, 10)), 1);
    EXPECT_EQ(strip->InsertionIndexAt(screen(152, 10)), 2);
    EXPECT_EQ(strip->TabIndexAt(screen(500, 10)), 3);
    EXPECT_EQ(strip->InsertionIndexAt(screen(500, 10)), 3);
    // The parent stands away from the screen's corner.
    EXPECT_EQ(strip->TabIndexAt(POINT{150, 10}), 3);
}

TEST_F(TabStripTest, IndexesOutOfRangeChangeNothing) {
    HWND window = strip->Hwnd();
    strip->SetTabs(kShortTitles, 1, {});
    strip->SetActive(3);
    strip->SetActive(-1);
    EXPECT_EQ(SendMessageW(window, kTabStripActiveMessage, 0, 0), 1);
    strip->SetActive(2);
    EXPECT_EQ(SendMessageW(window, kTabStripActiveMessage, 0, 0), 2);

    strip->SetTitle(3, kLongTitle);
    strip->SetTitle(-1, kLongTitle);
    strip->SetIcon(3, 0);
    EXPECT_EQ(SendMessageW(window, kTabStripPlusLeftMessage, 0, 0), 306);
    strip->SetLoading(3, true);
    strip->SetLoading(-1, true);
    EXPECT_FALSE(KillTimer(window, 2));
}


TEST_F(TabStripTest, SpinnerTimerRunsExactlyWhileATabIsBusy) {
    HWND window = strip->Hwnd();
    strip->SetTabs(kShortTitles, 0, {});
    strip->SetLoading(1, true);
    ASSERT_TRUE(WaitForSpinnerTicks(window, 1));
    strip->SetLoading(2, true);
    strip->SetLoading(1, false);
    ASSERT_TRUE(WaitForSpinnerTicks(window, 1));
    strip->ClearLoading();
    EXPECT_FALSE(KillTimer(window, 2));

    strip->SetLoading(0, true);
    strip->SetLoading(0, false);
    EXPECT_FALSE(KillTimer(window, 2));

    // New tabs start idle.
    strip->SetLoading(0, true);
    strip->SetTabs(kShortTitles, 0, {});
    EXPECT_FALSE(KillTimer(window, 2));
    strip->SetLoading(0, true);
    EXPECT_TRUE(WaitForSpinnerTicks(window, 1));
}

}  // namespace
