#include <windows.h>

#include "driver/quorlen_driver.h"

namespace {

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

LRESULT HitTest(HWND window, int x, int y) {
    LRESULT code = -1;
    EXPECT_TRUE(SendWithTimeout(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), code));
    return code;
}

using FrameTest = StartedQuorlenTest;

TEST_F(FrameTest, IsAFramelessPopupWithTheProgramTitle) {
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    EXPECT_EQ(std::wstring(title), L"Quorlen文件资源管理器");

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_EQ(style & WS_CAPTION, 0u);
    EXPECT_EQ(style & WS_SYSMENU, 0u);
    EXPECT_EQ(style & (WS_POPUP | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              static_cast<DWORD>(WS_POPUP | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    // No frame: the client area is the whole window.
    const RECT rect = WindowRect(window);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, rect.right - rect.left);
    EXPECT_EQ(client.bottom, rect.bottom - rect.top);
    EXPECT_EQ(rect.right - rect.left, 1280);
    EXPECT_EQ(rect.bottom - rect.top, 800);
}

TEST_F(FrameTest, AnswersHitTestsForEdgesCornersAndTheMoveStrip) {
    const RECT r = WindowRect(window);
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;

    EXPECT_EQ(HitTest(window, midX, midY), HTCLIENT);
    // The outer two pixels of each side move the window.
    EXPECT_EQ(HitTest(window, r.left + 1, midY), HTCLIENT);
    EXPECT_EQ(HitTest(window, r.right - 2, midY), HTCLIENT);
    EXPECT_EQ(HitTest(window, midX, r.top), HTCLIENT);
    EXPECT_EQ(HitTest(window, midX, r.bottom - 1), HTCLIENT);
    // Between two and eight pixels in, the sides resize.
    EXPECT_EQ(HitTest(window, r.left + 5, midY), HTLEFT);
    EXPECT_EQ(HitTest(window, r.right - 6, midY), HTRIGHT);
    EXPECT_EQ(HitTest(window, midX, r.top + 2), HTTOP);
    EXPECT_EQ(HitTest(window, midX, r.bottom - 8), HTBOTTOM);
    EXPECT_EQ(HitTest(window, midX, r.bottom - 9), HTCLIENT);
    // Corners resize right up to the edge.
    EXPECT_EQ(HitTest(window, r.left + 1, r.top + 1), HTTOPLEFT);
    EXPECT_EQ(HitTest(window, r.right - 1, r.top), HTTOPRIGHT);
    EXPECT_EQ(HitTest(window, r.left, r.bottom - 1), HTBOTTOMLEFT);
    EXPECT_EQ(HitTest(window, r.right - 8, r.bottom - 8), HTBOTTOMRIGHT);
}

TEST_F(FrameTest, KeepsItsMinimumSize) {
    SetWindowPos(window, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT rect = WindowRect(window);
    EXPECT_EQ(rect.right - rect.left, 480);
    EXPECT_EQ(rect.bottom - rect.top, 320);
}

// Sent from here the message carries no suggested rectangle (a pointer would
// not cross into the program), so the window keeps its size.
TEST_F(FrameTest, FollowsADpiChangeWithoutResizingItself) {
    const RECT before = WindowRect(window);
    LRESULT ignored = 0;
    ASSERT_TRUE(SendWithTimeout(window, WM_DPICHANGED, MAKEWPARAM(144, 144), 0, ignored));
    const RECT after = WindowRect(window);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);

    // The frame metrics now scale by one and a half.
    SetWindowPos(window, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT shrunk = WindowRect(window);
    EXPECT_EQ(shrunk.right - shrunk.left, 720);
    EXPECT_EQ(shrunk.bottom - shrunk.top, 480);
    const int midY = (shrunk.top + shrunk.bottom) / 2;
    EXPECT_EQ(HitTest(window, shrunk.left + 2, midY), HTCLIENT);
    EXPECT_EQ(HitTest(window, shrunk.left + 3, midY), HTLEFT);
    EXPECT_EQ(HitTest(window, shrunk.left + 11, midY), HTLEFT);
}

TEST_F(FrameTest, MaximisedFillsTheWorkAreaAndAnswersClientEverywhere) {
    ShowWindow(window, SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(window) != FALSE; }, 5000));

    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT work = monitor.rcWork;
    RECT client{};
    ASSERT_TRUE(WaitUntil(
        [&] {
            GetClientRect(window, &client);
            return client.right == work.right - work.left && client.bottom == work.bottom - work.top;
        },
        15000))
        << "client " << client.right << "x" << client.bottom;

    const RECT r = WindowRect(window);
    EXPECT_EQ(HitTest(window, r.left + 1, r.top + 1), HTCLIENT);
    EXPECT_EQ(HitTest(window, r.left + 5, (r.top + r.bottom) / 2), HTCLIENT);
}

// Posts a press, moves and a release in client coordinates.
void PostDrag(HWND window, POINT from, std::initializer_list<POINT> moves) {
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    POINT last = from;
    for (POINT move : moves) {
        PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(move.x, move.y));
        last = move;
    }
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(last.x, last.y));
}

// Waits until the window has moved from where it was; false when it did not.
bool WaitForMove(HWND window, const RECT& from, RECT& to) {
    return WaitUntil(
        [&] {
            to = WindowRect(window);
            return to.left != from.left || to.top != from.top;
        },
        5000);
}

TEST_F(FrameTest, PressingTheOuterStripAndDraggingMovesTheWindow) {
    const RECT before = WindowRect(window);
    PostDrag(window, {1, 100}, {{41, 130}});
    RECT after{};
    ASSERT_TRUE(WaitForMove(window, before, after));
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

// Posted messages are handled in order, so once the final drag has moved the
// window, the earlier ones have been handled too: only the final drag may count.
TEST_F(FrameTest, OnlyAPressInTheOuterStripThatPassesTheThresholdMoves) {
    const RECT before = WindowRect(window);
    PostDrag(window, {200, 200}, {{260, 260}});      // inside the window
    PostDrag(window, {1, 100}, {{3, 102}, {4, 97}}); // within the threshold
    PostDrag(window, {1, 100}, {{11, 120}});
    RECT after{};
    ASSERT_TRUE(WaitForMove(window, before, after));
    EXPECT_EQ(after.left - before.left, 10);
    EXPECT_EQ(after.top - before.top, 20);
}

}  // namespace
