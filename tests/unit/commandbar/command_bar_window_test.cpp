#include <gtest/gtest.h>

#include <vector>

#include "command_bar_fixture.h"
#include "commandbar/command_bar_layout.h"
#include "commandbar/command_ids.h"

namespace {

const std::vector<int> kButtonsLeftToRight{kCommandBack,    kCommandForward, kCommandUp, kCommandReopenClosedFolder,
                                           kCommandRefresh, kCommandViewMenu};

RECT RectInBar(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(CommandBarTest, IsAChildWindowOfItsOwnClassWithItsControls) {
    HWND window = bar->Hwnd();
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"Quorlen.CommandBar");
    EXPECT_EQ(GetParent(window), parent);
    EXPECT_EQ(GetDlgCtrlID(window), 1);
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, 0), HTCLIENT);
    EXPECT_EQ(SendMessageW(window, WM_ERASEBKGND, 0, 0), 1);

    int previousRight = 0;
    for (const int id : kButtonsLeftToRight) {
        const RECT button = RectInBar(Control(id));
        EXPECT_GT(button.left, previousRight) << id;
        previousRight = button.right;
    }
    ASSERT_NE(Control(kCommandOpenTypedAddress), nullptr);
    EXPECT_FALSE(IsShown(Control(kCommandOpenTypedAddress)));
    ASSERT_NE(Control(kCommandSearchTextChanged), nullptr);

    // One object never makes two windows.
    EXPECT_FALSE(bar->Create(parent, 2));
}

TEST_F(CommandBarTest, ButtonsRaiseTheirCommandsUnlessDisabled) {
    // A new bar has no history to go back or forward through.
    for (const int id : kButtonsLeftToRight) {
        EXPECT_EQ(IsWindowEnabled(Control(id)) != 0, id != kCommandBack && id != kCommandForward) << id;
    }
    HWND back = Control(kCommandBack);
    SendMessageW(back, BM_CLICK, 0, 0);
    SendMessageW(bar->Hwnd(), WM_COMMAND, MAKEWPARAM(kCommandBack, BN_CLICKED), reinterpret_cast<LPARAM>(back));
    EXPECT_TRUE(commands.empty());

    bar->SetNavEnabled(true, true);
    for (const int id : kButtonsLeftToRight) SendMessageW(Control(id), BM_CLICK, 0, 0);
    EXPECT_EQ(commands, kButtonsLeftToRight);

    commands.clear();

    bar->SetNavEnabled(true, false);
    EXPECT_TRUE(IsWindowEnabled(back));
    EXPECT_FALSE(IsWindowEnabled(Control(kCommandForward)));
    SendMessageW(back, BM_CLICK, 0, 0);
    EXPECT_EQ(commands, std::vector<int>{kCommandBack});

    // The middle button reopens behind the active tab; on the others it does nothing.
    commands.clear();
    for (const int id : kButtonsLeftToRight) SendMessageW(Control(id), WM_MBUTTONDOWN, MK_MBUTTON, 0);
    EXPECT_EQ(commands, std::vector<int>{kCommandReopenClosedFolderBehind});
}

TEST_F(CommandBarTest, ADisabledButtonIsDrawnGrey) {
    HWND back = Control(kCommandBack);
    const auto darkest = [&] {
        const PixelImage picture = PrintClient(back);
        int darkest = 255;
        for (const RGBQUAD& pixel : picture.pixels) darkest = std::min<int>(darkest, pixel.rgbGreen);
        return darkest;
    };
    bar->SetNavEnabled(true, true);
    EXPECT_LT(darkest(), 60);
    bar->SetNavEnabled(false, true);
    const int grey = darkest();
    EXPECT_GT(grey, 120);
    EXPECT_LT(grey, 200);
}

TEST_F(CommandBarTest, DpiChangesMoveTheControls) {
    HWND back = Control(kCommandBack);
    bar->SetDpi(192);
    const RECT scaled = RectInBar(back);
    EXPECT_EQ(scaled.left, 8);
    EXPECT_EQ(scaled.right - scaled.left, 56);
    bar->SetDpi(144);
    EXPECT_EQ(RectInBar(back).left, 6);
    EXPECT_EQ(RectInBar(back).right, 48);
}

TEST_F(CommandBarTest, SearchBoxFollowsItsSettingAndTakesTheFocusWhenAskedFor) {
    HWND search = Control(kCommandSearchTextChanged);
    HWND address = Control(kCommandOpenTypedAddress);
    EXPECT_FALSE(IsShown(search));
    EXPECT_EQ(RectInBar(address).right, 996);

    bar->SetSearchBoxVisible(true);
    EXPECT_TRUE(IsShown(search));
    EXPECT_EQ(RectInBar(search).left, 830);
    EXPECT_EQ(RectInBar(search).right, 996);
    EXPECT_EQ(RectInBar(address).right, 822);

    bar->SetSearchBoxVisible(false);
    EXPECT_FALSE(IsShown(search));
    bar->FocusSearchBox();
    EXPECT_TRUE(IsShown(search));
    EXPECT_EQ(RectInBar(address).right, 822);
    EXPECT_EQ(GetFocus(), search);
}

TEST_F(CommandBarTest, SearchTextChangesRaiseTheSearchAndEscapeEmptiesTheBox) {
    bar->SetSearchBoxVisible(true);
    HWND search = Control(kCommandSearchTextChanged);
    bar->SetSearchText(L"报告");
    EXPECT_EQ(bar->GetSearchText(), L"报告");
    EXPECT_EQ(commands, std::vector<int>{kCommandSearchTextChanged});

    commands.clear();
    EXPECT_EQ(SendMessageW(search, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(bar->GetSearchText(), L"");
    EXPECT_EQ(commands, std::vector<int>{kCommandSearchTextChanged});

    commands.clear();
    SendMessageW(search, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(commands.empty());
}

TEST_F(CommandBarTest, TheClearButtonEmptiesTheBoxWhenReleased) {
    bar->SetSearchBoxVisible(true);
    HWND search = Control(kCommandSearchTextChanged);
    RECT client{};
    GetClientRect(search, &client);
    const SearchBoxIcons icons = PlaceSearchBoxIcons(client, 96);
    const LPARAM onClear = MAKELPARAM(icons.clearIcon.left + 2, icons.clearIcon.top + 2);
    const LPARAM onText = MAKELPARAM(10, icons.clearIcon.top + 2);

    bar->SetSearchText(L"报告");
    commands.clear();
    SendMessageW(search, WM_LBUTTONDOWN, MK_LBUTTON, onText);
    SendMessageW(search, WM_LBUTTONUP, 0, onText);
    EXPECT_EQ(bar->GetSearchText(), L"报告");

    SendMessageW(search, WM_LBUTTONDOWN, MK_LBUTTON, onClear);
    EXPECT_EQ(bar->GetSearchText(), L"报告");
    SendMessageW(search, WM_LBUTTONUP, 0, onClear);
    EXPECT_EQ(bar->GetSearchText(), L"");
    EXPECT_EQ(commands, std::vector<int>{kCommandSearchTextChanged});
    EXPECT_NE(GetCapture(), search);
}

TEST_F(CommandBarTest, ThePlaceholderShowsOnlyWhileTheBoxIsEmpty) {
    bar->SetSearchBoxVisible(true);
    HWND search = Control(kCommandSearchTextChanged);
    // Where the cue's later characters fall, and a typed "i" does not reach.
    const auto cueInk = [search] {
        const PixelImage picture = PrintClient(search);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 24; x < 80; ++x) {
                if (!HasColour(picture.At(x, y), GetSysColor(COLOR_WINDOW))) return true;
            }
        }
        return false;
    };
    EXPECT_FALSE(cueInk());
    bar->SetSearchPlaceholder(L"文档");
    EXPECT_TRUE(cueInk());
    bar->SetSearchText(L"i");
    EXPECT_FALSE(cueInk());
    bar->SetSearchText(L"");
    EXPECT_TRUE(cueInk());
}

TEST_F(CommandBarTest, LosingTheWindowLeavesAnObjectThatIsSafeToUse) {
    bar->SetPath(L"C:\\Users");
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_EQ(bar->Hwnd(), nullptr);
    EXPECT_EQ(bar->AddressEditWindow(), nullptr);
    EXPECT_EQ(bar->SearchBoxWindow(), nullptr);
    bar->SetNavEnabled(false, false);
    bar->SetSearchBoxVisible(true);
    bar->FocusSearchBox();
    bar->SetSearchText(L"x");
    bar->SetSearchPlaceholder(L"x");
    bar->SetDpi(144);
    bar->SetPath(L"C:\\Windows");
    bar->LeaveEditMode();
    bar->Layout(500, 40);
    EXPECT_EQ(bar->GetSearchText(), L"");
    EXPECT_EQ(bar->GetAddressText(), L"");
    EXPECT_EQ(bar->DesiredHeight(1000), 51);
    EXPECT_TRUE(commands.empty());
}

}  // namespace
