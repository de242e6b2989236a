#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tab_strip_fixture.h"
#include "tabstrip/tab_strip_layout.h"
#include "ui/shell_icons.h"

namespace {

// At 96 DPI and 800 px: "Ab" at 2..102, the long title at 102..352, "库" at
// 352..452, each 27 px high.
const std::vector<std::wstring> kTitles{L"Ab", L"这是一个名字非常非常非常非常非常长的文件夹用来看看标题在标签里会不会被省略号截断的测试目录", L"库"};
const std::vector<int> kNoIcons{-1, -1, -1};
const RECT kLatinTab{2, 0, 102, 27};
const RECT kLongTab{102, 0, 352, 27};
const RECT kShortTab{352, 0, 452, 27};

COLORREF System(int index) { return GetSysColor(index); }

class TabStripPaintTest : public TabStripTest {
protected:
    void SetUp() override {
        TabStripTest::SetUp();
        ASSERT_NE(System(COLOR_WINDOW), System(COLOR_BTNFACE));
        ASSERT_NE(System(COLOR_HIGHLIGHT), System(COLOR_WINDOW));
        ASSERT_NE(System(COLOR_BTNSHADOW), System(COLOR_BTNFACE));
    }
};

TEST_F(TabStripPaintTest, TheActiveTabIsLitAndCarriesTheAccentBar) {
    strip->SetTabs(kTitles, 1, kNoIcons);
    const StripPicture picture(strip->Hwnd());

    EXPECT_TRUE(picture.AllAre(RECT{103, 1, 351, 3}, System(COLOR_HIGHLIGHT)));
    EXPECT_TRUE(picture.AllAre(RECT{103, 3, 351, 5}, System(COLOR_WINDOW)));
    EXPECT_TRUE(picture.AllAre(RECT{3, 1, 101, 5}, System(COLOR_BTNFACE)));
    EXPECT_TRUE(picture.AllAre(RECT{353, 1, 451, 5}, System(COLOR_BTNFACE)));

    // Every tab has a one-pixel outline.
    for (const RECT& tab : {kLatinTab, kLongTab, kShortTab}) {
        EXPECT_TRUE(picture.AllAre(RECT{tab.left, tab.top, tab.left + 1, tab.bottom}, System(COLOR_BTNSHADOW)));
        EXPECT_TRUE(picture.AllAre(RECT{tab.right - 1, tab.top, tab.right, tab.bottom}, System(COLOR_BTNSHADOW)));
        EXPECT_TRUE(picture.AllAre(RECT{tab.left, tab.bottom - 1, tab.right, tab.bottom}, System(COLOR_BTNSHADOW)));
    }

    strip->SetActive(0);
    const StripPicture switched(strip->Hwnd());
    EXPECT_TRUE(switched.AllAre(RECT{3, 1, 101, 3}, System(COLOR_HIGHLIGHT)));
    EXPECT_TRUE(switched.AllAre(RECT{103, 1, 351, 5}, System(COLOR_BTNFACE)));
}

TEST_F(TabStripPaintTest, LongTitlesEndInAnEllipsisInsideTheirPlace) {
    strip->SetTabs(kTitles, 1, kNoIcons);
    const StripPicture picture(strip->Hwnd());

    // The title runs from 26 DIPs after the tab's left to 44 before its right.
    EXPECT_TRUE(picture.HasInk(RECT{28, 1, 58, 26}));
    EXPECT_TRUE(picture.HasInk(RECT{128, 1, 308, 26}));
    EXPECT_FALSE(picture.HasInk(RECT{308, 1, 332, 26}));

    // The title's last ink is the ellipsis: dots low in the line, where a cut
    // character would reach above the middle.
    int lastInk = -1;
    for (int x = 307; x >= 128 && lastInk < 0; --x) {
        if (picture.HasInk(RECT{x, 1, x + 1, 26})) lastInk = x;
    }
    ASSERT_GE(lastInk, 128);
    EXPECT_GT(lastInk, 280);
    for (int x = lastInk - 1; x <= lastInk; ++x) {
        EXPECT_FALSE(picture.HasInk(RECT{x, 1, x + 1, 14})) << "column " << x;
    }

    // Every tab shows a close mark in its rightmost 20 DIPs.
    for (const RECT& tab : {kLatinTab, kLongTab, kShortTab}) {
        EXPECT_TRUE(picture.HasInk(RECT{tab.right - 20, 1, tab.right - 1, 26}));
    }
}

TEST_F(TabStripPaintTest, ButtonsPaintTheirFacesWithOrWithoutIcons) {
    strip->SetTabs(kTitles, 1, kNoIcons);
    const StripPicture picture(strip->Hwnd());

    // The "+" behind the last tab is outlined and not filled.
    const RECT plus{456, 3, 477, 24};
    EXPECT_TRUE(picture.AllAre(RECT{plus.left, plus.top, plus.left + 1, plus.bottom}, System(COLOR_BTNSHADOW)));
    EXPECT_TRUE(picture.AllAre(RECT{plus.left, plus.top, plus.right, plus.top + 1}, System(COLOR_BTNSHADOW)));
    EXPECT_TRUE(picture.AllAre(RECT{plus.right - 1, plus.top, plus.right, plus.bottom}, System(COLOR_BTNSHADOW)));
    EXPECT_EQ(picture.At(plus.left + 1, plus.top + 1), System(COLOR_BTNFACE));

    // The other buttons have no outline; their corners show the face.
    for (const RECT& button : {RECT{650, 3, 670, 23}, RECT{672, 3, 696, 24}, RECT{698, 3, 722, 24},
                               RECT{724, 3, 748, 23}, RECT{749, 3, 773, 23}, RECT{774, 3, 798, 23}}) {
        EXPECT_EQ(picture.At(button.left, button.top), System(COLOR_BTNFACE));
        EXPECT_EQ(picture.At(button.right - 1, button.bottom - 1), System(COLOR_BTNFACE));
    }
    EXPECT_TRUE(picture.AllAre(RECT{480, 0, 648, 27}, System(COLOR_BTNFACE)));
}

// A tab whose folder's icon is not known yet, or given no icon at all, shows the
// plain folder icon; a known one shows its own.
TEST_F(TabStripPaintTest, TabsWithoutAKnownIconShowTheFolderIcon) {
    const int folder = FolderIconIndex();
    if (folder < 0) GTEST_SKIP() << "the shell gives no folder icon here";
    const RECT latinIcon{7, 5, 23, 21};
    const RECT longIcon{107, 5, 123, 21};
    for (const std::vector<int>& icons : {kNoIcons, std::vector<int>{-1}, std::vector<int>{-1, folder, -1}}) {
        strip->SetTabs(kTitles, 1, icons);
        const StripPicture picture(strip->Hwnd());
        EXPECT_FALSE(picture.AllAre(latinIcon, System(COLOR_BTNFACE))) << icons.size() << " icons";
        EXPECT_FALSE(picture.AllAre(longIcon, System(COLOR_WINDOW))) << icons.size() << " icons";
    }
}

// The spinner's arcs are drawn in two exact colours; look for them near the
// point at an angle on the circle.
constexpr COLORREF kLead = RGB(0, 103, 192);
constexpr COLORREF kTrail = RGB(173, 214, 244);

bool ArcNear(const StripPicture& picture, int degrees, COLORREF colour) {
    // At 192 DPI the first tab's spinner turns about (30, 27) with radius 12.
    const POINT point = PointOnCircle(POINT{30, 27}, 12, degrees);
    return picture.Contains(RECT{point.x - 2, point.y - 2, point.x + 3, point.y + 3}, colour);
}

TEST_F(TabStripPaintTest, ABusyTabShowsASpinnerThatTurnsAndStartsOverEachTime) {
    Resize(192, 1600, 54);
    strip->SetTabs({L"Ab", L"Cd"}, 1, {});
    strip->SetLoading(0, true);
    {
        const StripPicture picture(strip->Hwnd());
        EXPECT_TRUE(ArcNear(picture, 60, kLead));
        EXPECT_TRUE(ArcNear(picture, 180, kTrail));
        EXPECT_FALSE(ArcNear(picture, 300, kLead));
        EXPECT_FALSE(ArcNear(picture, 300, kTrail));
    }
    ASSERT_TRUE(WaitForSpinnerTicks(strip->Hwnd(), 2));
    {
        const StripPicture picture(strip->Hwnd());
        EXPECT_TRUE(ArcNear(picture, 120, kLead));
        EXPECT_TRUE(ArcNear(picture, 240, kTrail));
        EXPECT_FALSE(ArcNear(picture, 30, kLead));
    }
    strip->ClearLoading();
    {
        const StripPicture picture(strip->Hwnd());
        EXPECT_FALSE(picture.Contains(RECT{4, 0, 204, 54}, kLead));
        EXPECT_FALSE(picture.Contains(RECT{4, 0, 204, 54}, kTrail));
    }
    strip->SetLoading(0, true);
    EXPECT_TRUE(ArcNear(StripPicture(strip->Hwnd()), 30, kLead));
}

}  // namespace
