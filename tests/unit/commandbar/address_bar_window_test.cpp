#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_bar_fixture.h"
#include "commandbar/command_ids.h"

namespace {

constexpr COLORREF kSeparatorColour = RGB(180, 180, 180);
// The middle of the bar's single row.
constexpr int kRowMiddle = 17;
// The address area starts here in a 1000 px bar at 96 DPI, its first segment 4 px further.
constexpr int kAddressLeft = 190;

// The x of every separator line across the middle of the row.
std::vector<int> SeparatorsAcrossRow(HWND bar) {
    const PixelImage picture = PrintClient(bar);
    std::vector<int> found;
    for (int x = 0; x < picture.width; ++x) {
        if (HasColour(picture.At(x, kRowMiddle), kSeparatorColour)) found.push_back(x);
    }
    return found;
}

TEST_F(CommandBarTest, ClickingASegmentOpensTheFolderItLeadsTo) {
    bar->SetPath(L"C:\\Users\\Public");
    EXPECT_EQ(bar->GetAddressText(), L"C:\\Users\\Public");
    const std::vector<int> separators = SeparatorsAcrossRow(bar->Hwnd());
    ASSERT_EQ(separators.size(), 2u);

    ClickBar(kAddressLeft + 6, kRowMiddle);
    EXPECT_EQ(bar->GetAddressText(), L"C:\\");
    ClickBar(separators[0] + 8, kRowMiddle);
    EXPECT_EQ(bar->GetAddressText(), L"C:\\Users");
    ClickBar(separators[1] + 8, kRowMiddle);
    EXPECT_EQ(bar->GetAddressText(), L"C:\\Users\\Public");
    const std::vector<int> expected(3, kCommandOpenAddressSegment);
    EXPECT_EQ(commands, expected);
    EXPECT_FALSE(IsShown(Control(kCommandOpenTypedAddress)));

    // The middle button hands the segment's folder over for a tab behind, and
    // leaves the address as it was.
    std::vector<std::wstring> behind;
    bar->onOpenInBackgroundTab = [&](const std::wstring& folder) { behind.push_back(folder); };
    SendMessageW(bar->Hwnd(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(separators[0] + 8, kRowMiddle));
    EXPECT_EQ(behind, std::vector<std::wstring>{L"C:\\Users"});
    EXPECT_EQ(commands, expected);
}

TEST_F(CommandBarTest, TheHoveredSegmentGetsTheFaceColour) {
    bar->SetPath(L"C:\\Users\\Public");
    const std::vector<int> separators = SeparatorsAcrossRow(bar->Hwnd());
    ASSERT_EQ(separators.size(), 2u);
    const int between = separators[0] + 7;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_NE(face, GetSysColor(COLOR_WINDOW));

    SendMessageW(bar->Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(between, kRowMiddle));
    EXPECT_TRUE(HasColour(PrintClient(bar->Hwnd()).At(between, 6), face));
    EXPECT_FALSE(HasColour(PrintClient(bar->Hwnd()).At(separators[0] - 7, 6), face));

    SendMessageW(bar->Hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(HasColour(PrintClient(bar->Hwnd()).At(between, 6), GetSysColor(COLOR_WINDOW)));
}

TEST_F(CommandBarTest, ClickingTheEmptyAreaOpensTheEditWithThePathSelected) {
    const std::wstring path = L"C:\\Users\\Public";
    bar->SetPath(path);
    HWND edit = Control(kCommandOpenTypedAddress);
    ClickBar(900, kRowMiddle);
    EXPECT_TRUE(commands.empty());
    ASSERT_TRUE(IsShown(edit));
    EXPECT_EQ(GetFocus(), edit);
    DWORD start = 1;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, path.size());

    // Enter opens what was typed and leaves the edit open until the owner answers.
    SetWindowTextW(edit, L"D:\\资料");
    EXPECT_EQ(SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0), 0);
    EXPECT_EQ(commands, std::vector<int>{kCommandOpenTypedAddress});
    EXPECT_EQ(bar->GetAddressText(), L"D:\\资料");
    EXPECT_TRUE(IsShown(edit));

    // Escape gives up what was typed.
    EXPECT_EQ(SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_FALSE(IsShown(edit));
    EXPECT_EQ(bar->GetAddressText(), path);
}

TEST_F(CommandBarTest, TheEditClosesOnFocusLossAndOnANewPath) {
    bar->SetPath(L"C:\\Users");
    HWND edit = Control(kCommandOpenTypedAddress);
    ClickBar(900, kRowMiddle);
    ASSERT_TRUE(IsShown(edit));
    SetWindowTextW(edit, L"typed");
    SetFocus(bar->Hwnd());
    EXPECT_FALSE(IsShown(edit));
    EXPECT_EQ(bar->GetAddressText(), L"C:\\Users");

    ClickBar(900, kRowMiddle);
    ASSERT_TRUE(IsShown(edit));
    bar->SetPath(L"C:\\Windows");
    EXPECT_FALSE(IsShown(edit));
    EXPECT_EQ(bar->GetAddressText(), L"C:\\Windows");
    // While the edit is closed the area shows segments again.
    EXPECT_EQ(SeparatorsAcrossRow(bar->Hwnd()).size(), 1u);
}

TEST_F(CommandBarTest, APathThatNeedsAnotherRowAsksTheParentForALayout) {
    bar->SetPath(L"C:\\Users\\Public");
    EXPECT_FALSE(TakeRelayoutRequest());
    EXPECT_EQ(bar->DesiredHeight(1000), 34);

    std::wstring deep = L"C:";
    for (int level = 0; level < 12; ++level) deep += L"\\一个名字相当长的文件夹" + std::to_wstring(level);
    bar->SetPath(deep);
    EXPECT_TRUE(TakeRelayoutRequest());
    const int height = bar->DesiredHeight(1000);
    EXPECT_GT(height, 34);
    EXPECT_EQ((height - 8) % 26, 0);

    // Once the parent has given the bar that height, the same path asks nothing.
    SetWindowPos(bar->Hwnd(), nullptr, 0, 0, 1000, height, SWP_NOZORDER | SWP_NOACTIVATE);
    while (TakeRelayoutRequest()) {
    }
    bar->SetPath(deep);
    EXPECT_FALSE(TakeRelayoutRequest());
    bar->SetPath(L"C:\\");
    EXPECT_TRUE(TakeRelayoutRequest());
}

}  // namespace
