#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../tabstrip/tab_strip_fixture.h"
#include "favbar/fav_bar.h"
#include "favbar/fav_bar_layout.h"
#include "ui/fonts.h"

namespace {

struct Event {
    int event;
    int index;
    std::wstring path;
    bool operator==(const Event&) const = default;
};
using Events = std::vector<Event>;

// Paths the shell cannot make items of, so the names are their last parts.
const std::vector<std::wstring> kPaths{L"C:\\nowhere\\Music", L"C:\\nowhere\\Photos", L"C:\\nowhere\\Work"};

// A favourites bar in a hidden top-level window, as a main window would hold it.
class FavBarTest : public testing::Test {
protected:
    void SetUp() override {
        parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 100, 100, 1200, 300, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent, nullptr);
        bar = std::make_unique<FavBar>();
        ASSERT_TRUE(bar->Create(parent, 11));
        EXPECT_EQ(bar->HeightForWidth(800), 28) << "without favourites, one row";
        bar->SetDpi(96);
        SetWindowPos(bar->Hwnd(), nullptr, 0, 0, 800, 28, SWP_NOZORDER | SWP_NOACTIVATE);
        bar->SetFavourites(kPaths);
        bar->onEvent = [this](int event, int index, const std::wstring& path) {
            events.push_back(Event{event, index, path});
        };
        bar->onFavouriteMoved = [this](int favourite, int slot) { moves.emplace_back(favourite, slot); };
        std::vector<int> widths;
        for (const wchar_t* name : {L"Music", L"Photos", L"Work"}) {
            widths.push_back(FavItemWidth(UiTextWidth(name, 96), 96));
        }
        items = LayOutFavBar(RECT{0, 0, 800, 28}, 96, widths).itemRects;
    }

    void TearDown() override {
        bar.reset();
        if (parent) DestroyWindow(parent);
    }

    void Mouse(UINT message, POINT point) const {
        SendMessageW(bar->Hwnd(), message, 0, MAKELPARAM(point.x, point.y));
    }

    POINT Middle(int item) const {
        const RECT& rect = items[static_cast<size_t>(item)];
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    POINT ToScreen(POINT point) const {
        ClientToScreen(bar->Hwnd(), &point);
        return point;
    }

    // Drops need a window that WindowFromPoint can find.
    void ShowParent() const {
        SetWindowPos(parent, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }

    void StartDrag(int item) const {
        Mouse(WM_LBUTTONDOWN, Middle(item));
        Mouse(WM_MOUSEMOVE, POINT{Middle(item).x + 5, Middle(item).y});
    }

    HWND parent = nullptr;
    std::unique_ptr<FavBar> bar;
    std::vector<RECT> items;
    Events events;
    std::vector<std::pair<int, int>> moves;  // the favourite and its new slot
};

HWND Ghost() { return FindWindowW(kFavGhostClass, nullptr); }

TEST_F(FavBarTest, AClickOpensAndADragOverTheBarMoves) {
    ShowParent();
    Mouse(WM_LBUTTONDOWN, Middle(1));
    Mouse(WM_MOUSEMOVE, POINT{Middle(1).x + 4, Middle(1).y - 4});
    Mouse(WM_LBUTTONUP, POINT{Middle(1).x + 4, Middle(1).y - 4});
    EXPECT_EQ(events, (Events{{0, 1, kPaths[1]}}));
    EXPECT_EQ(Ghost(), nullptr);
    // The middle button opens it behind the active tab.
    Mouse(WM_MBUTTONDOWN, Middle(2));
    EXPECT_EQ(events.back(), (Event{4, 2, kPaths[2]}));
    events.pop_back();

    StartDrag(0);
    const HWND ghost = Ghost();
    ASSERT_NE(ghost, nullptr) << "a drag shows the favourite's image";
    wchar_t text[16] = {};
    GetWindowTextW(ghost, text, 16);
    EXPECT_STREQ(text, L"Music");
    const POINT over{items[2].right - 2, Middle(2).y};
    Mouse(WM_MOUSEMOVE, over);
    RECT place{};
    GetWindowRect(ghost, &place);
    EXPECT_EQ(place.left, ToScreen(over).x + 10);
    EXPECT_EQ(place.bottom - place.top, 26);
    Mouse(WM_LBUTTONUP, over);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 3}}));
    EXPECT_EQ(events.size(), 1u);
    EXPECT_FALSE(IsWindow(ghost));
    EXPECT_EQ(GetCapture(), nullptr);

    // Dropped anywhere else, a favourite stays where it is.
    StartDrag(0);
    Mouse(WM_MOUSEMOVE, POINT{200, 2000});
    Mouse(WM_LBUTTONUP, POINT{200, 2000});
    EXPECT_EQ(moves.size(), 1u);
    EXPECT_EQ(events.size(), 1u);

    // The owner may rebuild or end the bar while it handles the event.
    bar->onEvent = [this](int, int, const std::wstring&) { bar->SetFavourites({}); };
    Mouse(WM_LBUTTONDOWN, Middle(2));
    Mouse(WM_LBUTTONUP, Middle(2));
    EXPECT_EQ(SendMessageW(bar->Hwnd(), kFavBarCountMessage, 0, 0), 0);
    bar->SetFavourites(kPaths);
    bar->onEvent = [this](int, int, const std::wstring&) { bar.reset(); };
    const HWND window = bar->Hwnd();
    SendMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(Middle(0).x, Middle(0).y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(Middle(0).x, Middle(0).y));
    EXPECT_FALSE(bar);
}

TEST_F(FavBarTest, LosingTheCaptureOrTheItemsEndsADragWithoutAnEvent) {
    StartDrag(1);
    ASSERT_NE(Ghost(), nullptr);
    EXPECT_EQ(GetCapture(), bar->Hwnd());
    ReleaseCapture();
    EXPECT_EQ(Ghost(), nullptr);
    Mouse(WM_LBUTTONUP, Middle(1));

    // A refresh may leave the held index naming another favourite, or none.
    StartDrag(2);
    bar->SetFavourites({kPaths[0]});
    EXPECT_EQ(Ghost(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    Mouse(WM_LBUTTONUP, Middle(2));
    Mouse(WM_LBUTTONDOWN, Middle(0));
    bar->SetFavourites({});
    Mouse(WM_LBUTTONUP, Middle(0));
    EXPECT_TRUE(events.empty());
}

// A drop as the shell hands it over: the paths after a DROPFILES header, each
// ended by a null, the list by one more.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t characters = 1;
    for (const std::wstring& path : paths) characters += path.size() + 1;
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    if (!memory) return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* list = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& path : paths) {
        std::memcpy(list, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        list += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(FavBarTest, DroppedPathsAreAddedInDropOrderAndWhole) {
    EXPECT_EQ(SendMessageW(bar->Hwnd(), kFavBarCountMessage, 0, 0), 3);
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'长') + L"\\end";
    const std::vector<std::wstring> dropped{L"D:\\one", longPath, L"E:\\three.txt"};
    const HDROP drop = MakeDrop(dropped);
    ASSERT_NE(drop, nullptr);
    SendMessageW(bar->Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(events, (Events{{2, -1, dropped[0]}, {2, -1, longPath}, {2, -1, dropped[2]}}));
    SendMessageW(bar->Hwnd(), WM_DROPFILES, 0, 0);
    EXPECT_EQ(events.size(), 3u);
}

TEST_F(FavBarTest, TheHotItemIsLitUntilTheMouseLeaves) {
    const POINT corner{items[1].right - 1, items[1].bottom - 2};
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF lit = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(face, lit);
    EXPECT_EQ(StripPicture(bar->Hwnd()).At(corner.x, corner.y), face);
    Mouse(WM_MOUSEMOVE, Middle(1));
    EXPECT_EQ(StripPicture(bar->Hwnd()).At(corner.x, corner.y), lit);
    Mouse(WM_MOUSELEAVE, POINT{0, 0});
    EXPECT_EQ(StripPicture(bar->Hwnd()).At(corner.x, corner.y), face);
}

}  // namespace
