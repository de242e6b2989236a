#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tab_strip_fixture.h"
#include "tabstrip/fav_list.h"
#include "tabstrip/tab_strip.h"
#include "tabstrip/tab_strip_input_rules.h"

namespace {

using Events = std::vector<std::pair<int, int>>;

// A dragged tab's drop, as whichever callback of the three reported it.
struct TabDrop {
    TabLanding landing;
    int tab;
    POINT point;
    HWND otherStrip;
};

// Three 100 px tabs from x = 2; their close zones are their rightmost 22 px
// inside the outline.
const std::vector<std::wstring> kShortTitles{L"a", L"b", L"c"};
const std::wstring kLongTitle = L"这是一个名字非常非常非常非常非常长的文件夹用来看看标题会不会被截断";

class TabStripInputTest : public TabStripTest {
protected:
    void SetUp() override {
        TabStripTest::SetUp();
        if (HasFatalFailure()) return;
        strip->SetTabs(kShortTitles, 0, {});
        strip->onEvent = [this](int event, int index) { events.emplace_back(event, index); };
        strip->onTabDropped = [this](int tab, POINT point) {
            drops.push_back(TabDrop{TabLanding::ThisStrip, tab, point, nullptr});
        };
        strip->onTabDroppedOnOtherStrip = [this](int tab, POINT point, HWND otherStrip) {
            drops.push_back(TabDrop{TabLanding::OtherStrip, tab, point, otherStrip});
        };
        strip->onTabTornOff = [this](int tab, POINT point) {
            drops.push_back(TabDrop{TabLanding::Elsewhere, tab, point, nullptr});
        };
    }

    void Mouse(UINT message, int x, int y) const {
        SendMessageW(strip->Hwnd(), message, 0, MAKELPARAM(x, y));
    }

    POINT ToScreen(int x, int y) const {
        POINT point{x, y};
        ClientToScreen(strip->Hwnd(), &point);
        return point;
    }

    // Drops need a window that WindowFromPoint can find.
    void ShowParent() const {
        SetWindowPos(parent, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }

    Events events;
    std::vector<TabDrop> drops;
};

HWND Ghost() { return FindWindowW(kTabGhostClass, nullptr); }
HWND FavListWindow() { return FindWindowW(kFavListClass, nullptr); }

TEST_F(TabStripInputTest, ClicksActivateOrCloseTabsButNotOnTheirOutline) {
    // A release within 4 px of the press is a click.
    Mouse(WM_LBUTTONDOWN, 150, 13);
    Mouse(WM_MOUSEMOVE, 154, 17);
    Mouse(WM_LBUTTONUP, 154, 17);
    // The close zone closes on the press; its release does nothing more.
    Mouse(WM_LBUTTONDOWN, 100, 13);
    Mouse(WM_LBUTTONUP, 100, 13);
    // The middle button closes, close zone or not.
    Mouse(WM_MBUTTONDOWN, 210, 13);
    Mouse(WM_MBUTTONDOWN, 290, 13);
    // One pixel further is the outline: nothing.
    Mouse(WM_LBUTTONDOWN, 101, 13);
    Mouse(WM_LBUTTONUP, 101, 13);
    Mouse(WM_MBUTTONDOWN, 202, 13);
    Mouse(WM_LBUTTONDOWN, 250, 0);
    Mouse(WM_LBUTTONUP, 250, 0);
    const Events expected{{0, 1}, {1, 0}, {1, 2}, {1, 2}};
    EXPECT_EQ(events, expected);
}

TEST_F(TabStripInputTest, TheButtonsAmongTheTabsActOnThePressAndShowIt) {
    const COLORREF pressed = GetSysColor(COLOR_BTNSHADOW);
    std::vector<COLORREF> faces;
    strip->onEvent = [&](int event, int index) {
        events.emplace_back(event, index);
        faces.push_back(StripPicture(strip->Hwnd()).At(674, 5));
    };
    Mouse(WM_LBUTTONDOWN, 316, 13);
    Mouse(WM_LBUTTONDOWN, 684, 13);
    Mouse(WM_LBUTTONDOWN, 710, 13);
    const Events expected{{2, -1}, {3, -1}, {5, -1}};
    EXPECT_EQ(events, expected);
    // The settings button looks pressed while its event is handled, and not afterwards.
    ASSERT_EQ(faces.size(), 3u);
    EXPECT_EQ(faces[1], pressed);
    EXPECT_NE(faces[0], pressed);
    EXPECT_NE(StripPicture(strip->Hwnd()).At(674, 5), pressed);
}

TEST_F(TabStripInputTest, ADraggedTabDroppedOnItsOwnStripMovesThere) {
    ShowParent();
    Mouse(WM_LBUTTONDOWN, 50, 13);
    Mouse(WM_MOUSEMOVE, 55, 13);
    const HWND ghost = Ghost();
    ASSERT_NE(ghost, nullptr) << "a drag shows the tab's image";
    wchar_t text[16] = {};
    GetWindowTextW(ghost, text, 16);
    EXPECT_STREQ(text, L"a");
    EXPECT_TRUE(GetWindowLongW(ghost, GWL_EXSTYLE) & WS_EX_LAYERED);

    Mouse(WM_MOUSEMOVE, 260, 13);
    RECT place{};
    GetWindowRect(ghost, &place);
    const POINT cursor = ToScreen(260, 13);
    EXPECT_EQ(place.left, cursor.x + 10);
    EXPECT_EQ(place.top, cursor.y + 10);

    Mouse(WM_LBUTTONUP, 260, 13);
    EXPECT_TRUE(events.empty());
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].landing, TabLanding::ThisStrip);
    EXPECT_EQ(drops[0].tab, 0);
    EXPECT_EQ(drops[0].point.x, cursor.x);
    EXPECT_EQ(drops[0].point.y, cursor.y);
    EXPECT_FALSE(IsWindow(ghost));
}

TEST_F(TabStripInputTest, ADropOnAnotherStripNamesItAndOneOverNoStripTearsOff) {
    ShowParent();
    HWND otherParent = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 600, 800, 27,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(otherParent, nullptr);
    TabStrip other;
    ASSERT_TRUE(other.Create(otherParent, 7));
    SetWindowPos(other.Hwnd(), nullptr, 0, 0, 800, 27, SWP_NOZORDER | SWP_NOACTIVATE);
    other.SetTabs(kShortTitles, 0, {});

    // The point on this strip's client grid that lies over the other strip's second tab.
    POINT over{150, 13};
    ClientToScreen(other.Hwnd(), &over);
    ScreenToClient(strip->Hwnd(), &over);
    Mouse(WM_LBUTTONDOWN, 150, 13);
    Mouse(WM_MOUSEMOVE, over.x, over.y);
    Mouse(WM_LBUTTONUP, over.x, over.y);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].landing, TabLanding::OtherStrip);
    EXPECT_EQ(drops[0].tab, 1);
    EXPECT_EQ(drops[0].otherStrip, other.Hwnd());
    EXPECT_EQ(other.TabIndexAt(drops[0].point), 1);

    // Far below every window the tab tears off.
    Mouse(WM_LBUTTONDOWN, 150, 13);
    Mouse(WM_MOUSEMOVE, 150, 2000);
    Mouse(WM_LBUTTONUP, 150, 2000);
    ASSERT_EQ(drops.size(), 2u);
    EXPECT_EQ(drops[1].landing, TabLanding::Elsewhere);
    EXPECT_EQ(drops[1].tab, 1);
    EXPECT_EQ(drops[1].point.y, ToScreen(150, 2000).y);
    EXPECT_TRUE(events.empty());

    // The owner may end the strip while it handles the drop.
    strip->onTabDroppedOnOtherStrip = [this](int, POINT, HWND) { strip.reset(); };
    HWND window = strip->Hwnd();
    SendMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(150, 13));
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
    EXPECT_FALSE(strip);
    DestroyWindow(otherParent);
}

TEST_F(TabStripInputTest, LosingTheCaptureEndsADragWithoutAnEvent) {
    Mouse(WM_LBUTTONDOWN, 150, 13);
    Mouse(WM_MOUSEMOVE, 150, 18);
    ASSERT_NE(Ghost(), nullptr);
    EXPECT_EQ(GetCapture(), strip->Hwnd());
    ReleaseCapture();
    EXPECT_EQ(Ghost(), nullptr);
    Mouse(WM_LBUTTONUP, 150, 18);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(drops.empty());

    // Nor does the image outlive the strip.
    Mouse(WM_LBUTTONDOWN, 150, 13);
    Mouse(WM_MOUSEMOVE, 150, 18);
    ASSERT_NE(Ghost(), nullptr);
    strip.reset();
    EXPECT_EQ(Ghost(), nullptr);
}

HWND StripTooltip(HWND parent) {
    struct Search {
        HWND owner;
        HWND found;
    } search{parent, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0 || GetWindow(window, GW_OWNER) != wanted->owner) return TRUE;
            wanted->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Tip {
    std::wstring text;
    RECT rect{};
};

Tip ReadTip(HWND tooltip, HWND strip) {
    wchar_t text[512] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = strip;
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    Tip tip{text, {}};
    wchar_t ignored[512] = {};
    tool.lpszText = ignored;
    SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
    tip.rect = tool.rect;
    return tip;
}

TEST_F(TabStripInputTest, OnlyATabWhoseTitleIsCutGetsItAsTooltip) {
    strip->SetTabs({L"short", kLongTitle}, 0, {});
    const HWND tooltip = StripTooltip(parent);
    ASSERT_NE(tooltip, nullptr);

    Mouse(WM_MOUSEMOVE, 50, 13);
    Tip tip = ReadTip(tooltip, strip->Hwnd());
    EXPECT_EQ(tip.text, L"");
    EXPECT_TRUE(IsRectEmpty(&tip.rect));

    Mouse(WM_MOUSEMOVE, 200, 13);
    tip = ReadTip(tooltip, strip->Hwnd());
    EXPECT_EQ(tip.text, kLongTitle);
    EXPECT_EQ(tip.rect.left, 102);
    EXPECT_EQ(tip.rect.right, 352);
    EXPECT_EQ(tip.rect.bottom, 27);

    // Back on the short title the tool shrinks to nothing, so the tip cannot show.
    Mouse(WM_MOUSEMOVE, 50, 13);
    tip = ReadTip(tooltip, strip->Hwnd());
    EXPECT_TRUE(IsRectEmpty(&tip.rect));
}

TEST_F(TabStripInputTest, TheStarDropsDownTheFavouritesAndARowClickPicksOne) {
    std::vector<std::pair<int, FavouriteAction>> chosen;
    strip->onFavouriteChosen = [&chosen](int favourite, FavouriteAction action) {
        chosen.emplace_back(favourite, action);
    };
    Mouse(WM_LBUTTONDOWN, 660, 13);
    EXPECT_EQ(FavListWindow(), nullptr) << "no favourites, no list";

    strip->SetFavourites({L"C:\\nowhere\\Music", L"C:\\nowhere\\Photos"});
    const auto open = [this] {
        Mouse(WM_LBUTTONDOWN, 660, 13);
        return FavListWindow();
    };
    HWND list = open();
    ASSERT_NE(list, nullptr);
    RECT frame{};
    GetWindowRect(list, &frame);
    const POINT below = ToScreen(650, 23);
    EXPECT_EQ(frame.left, below.x);
    EXPECT_EQ(frame.top, below.y);
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_EQ(client.bottom, 56);

    SendMessageW(list, WM_LBUTTONDOWN, 0, MAKELPARAM(10, 40));
    EXPECT_FALSE(IsWindow(list));
    list = open();
    ASSERT_NE(list, nullptr);
    SendMessageW(list, WM_LBUTTONDOWN, 0, MAKELPARAM(client.right - 5, 5));
    EXPECT_FALSE(IsWindow(list));
    list = open();
    ASSERT_NE(list, nullptr);
    SendMessageW(list, WM_MBUTTONDOWN, 0, MAKELPARAM(10, 40));
    EXPECT_FALSE(IsWindow(list));
    const std::vector<std::pair<int, FavouriteAction>> expected{
        {1, FavouriteAction::Open}, {0, FavouriteAction::Remove}, {1, FavouriteAction::OpenBehind}};
    EXPECT_EQ(chosen, expected);
    EXPECT_TRUE(events.empty()) << "favourites are not tabs";
}

// Stands in for a main window: records what the strip asks of it.
LRESULT CALLBACK RecordFrameRequests(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
    if (message == WM_CLOSE || message == WM_NCLBUTTONDOWN) {
        reinterpret_cast<std::vector<MSG>*>(data)->push_back(MSG{window, message, wParam, lParam, 0, {}});
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(TabStripInputTest, TheCloseButtonClosesOnReleaseButDraggedAwayResizes) {
    std::vector<MSG> requests;
    ASSERT_TRUE(SetWindowSubclass(parent, RecordFrameRequests, 1, reinterpret_cast<DWORD_PTR>(&requests)));
    Mouse(WM_LBUTTONDOWN, 786, 13);
    Mouse(WM_MOUSEMOVE, 789, 16);
    EXPECT_TRUE(requests.empty()) << "the button acts on the release";
    Mouse(WM_LBUTTONUP, 789, 16);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].message, static_cast<UINT>(WM_CLOSE));

    RECT frame{};
    GetWindowRect(parent, &frame);
    const POINT away = ToScreen(786, 18);
    ASSERT_GE(away.y, frame.top + 16) << "the parent's caption should keep the strip off its top edge";
    Mouse(WM_LBUTTONDOWN, 786, 13);
    Mouse(WM_MOUSEMOVE, 786, 18);
    Mouse(WM_LBUTTONUP, 786, 18);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].message, static_cast<UINT>(WM_NCLBUTTONDOWN));
    EXPECT_EQ(requests[1].wParam, static_cast<WPARAM>(HTRIGHT));
    EXPECT_EQ(requests[1].lParam, MAKELPARAM(away.x, away.y));
    RemoveWindowSubclass(parent, RecordFrameRequests, 1);
}

TEST_F(TabStripInputTest, TheEmptyStripMovesTheWindowAndADoubleClickThereMaximisesIt) {
    RECT before{};
    GetWindowRect(parent, &before);
    Mouse(WM_LBUTTONDOWN, 500, 13);
    Mouse(WM_MOUSEMOVE, 503, 10);
    RECT now{};
    GetWindowRect(parent, &now);
    EXPECT_EQ(now.left, before.left) << "3 px is not yet a move";
    Mouse(WM_MOUSEMOVE, 520, 20);
    Mouse(WM_LBUTTONUP, 520, 20);
    GetWindowRect(parent, &now);
    EXPECT_EQ(now.left, before.left + 20);
    EXPECT_EQ(now.top, before.top + 7);
    EXPECT_EQ(GetCapture(), nullptr);

    // On a tab the second click of a double click does nothing.
    Mouse(WM_LBUTTONDBLCLK, 150, 13);
    EXPECT_FALSE(IsZoomed(parent));
    EXPECT_TRUE(events.empty());
    Mouse(WM_LBUTTONDOWN, 500, 13);
    Mouse(WM_LBUTTONUP, 500, 13);
    Mouse(WM_LBUTTONDBLCLK, 500, 13);
    EXPECT_TRUE(IsZoomed(parent));
    Mouse(WM_LBUTTONDBLCLK, 500, 13);
    EXPECT_FALSE(IsZoomed(parent));
}

}  // namespace
