#include "mainwindow/frame_geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const RECT kWindow{100, 50, 1380, 850};

TEST(FrameHitTest, SidesResizeOnlyInsideTheOuterStrip) {
    const LONG midY = 450;
    EXPECT_EQ(FrameHitTest({640, midY}, kWindow, 96, false), HTCLIENT);
    EXPECT_EQ(FrameHitTest({101, midY}, kWindow, 96, false), HTCLIENT);
    EXPECT_EQ(FrameHitTest({102, midY}, kWindow, 96, false), HTLEFT);
    EXPECT_EQ(FrameHitTest({105, midY}, kWindow, 96, false), HTLEFT);
    EXPECT_EQ(FrameHitTest({107, midY}, kWindow, 96, false), HTLEFT);
    EXPECT_EQ(FrameHitTest({108, midY}, kWindow, 96, false), HTCLIENT);
    EXPECT_EQ(FrameHitTest({1372, midY}, kWindow, 96, false), HTRIGHT);
    EXPECT_EQ(FrameHitTest({1371, midY}, kWindow, 96, false), HTCLIENT);
    EXPECT_EQ(FrameHitTest({1377, midY}, kWindow, 96, false), HTRIGHT);
    EXPECT_EQ(FrameHitTest({1378, midY}, kWindow, 96, false), HTCLIENT);
    EXPECT_EQ(FrameHitTest({640, 52}, kWindow, 96, false), HTTOP);
    EXPECT_EQ(FrameHitTest({640, 51}, kWindow, 96, false), HTCLIENT);
    EXPECT_EQ(FrameHitTest({640, 842}, kWindow, 96, false), HTBOTTOM);
    EXPECT_EQ(FrameHitTest({640, 848}, kWindow, 96, false), HTCLIENT);
}

TEST(FrameHitTest, CornersResizeRightUpToTheEdge) {
    EXPECT_EQ(FrameHitTest({101, 51}, kWindow, 96, false), HTTOPLEFT);
    EXPECT_EQ(FrameHitTest({100, 50}, kWindow, 96, false), HTTOPLEFT);
    EXPECT_EQ(FrameHitTest({1379, 50}, kWindow, 96, false), HTTOPRIGHT);
    EXPECT_EQ(FrameHitTest({100, 849}, kWindow, 96, false), HTBOTTOMLEFT);
    EXPECT_EQ(FrameHitTest({1372, 842}, kWindow, 96, false), HTBOTTOMRIGHT);
    EXPECT_EQ(FrameHitTest({107, 57}, kWindow, 96, false), HTTOPLEFT);
    EXPECT_EQ(FrameHitTest({108, 57}, kWindow, 96, false), HTTOP);
}

TEST(FrameHitTest, ScalesWithDpiAndIgnoresEdgesWhenMaximised) {
    // At 144 DPI the band is 12 pixels and the strip 3.
    EXPECT_EQ(FrameHitTest({102, 450}, kWindow, 144, false), HTCLIENT);
    EXPECT_EQ(FrameHitTest({103, 450}, kWindow, 144, false), HTLEFT);
    EXPECT_EQ(FrameHitTest({111, 450}, kWindow, 144, false), HTLEFT);
    EXPECT_EQ(FrameHitTest({112, 450}, kWindow, 144, false), HTCLIENT);
    EXPECT_EQ(FrameHitTest({101, 51}, kWindow, 96, true), HTCLIENT);
    EXPECT_EQ(FrameHitTest({105, 450}, kWindow, 96, true), HTCLIENT);
}

TEST(FrameMetrics, MinimumSizeAndMoveRulesScaleWithDpi) {
    EXPECT_EQ(MinimumTrackSize(96).cx, 480);
    EXPECT_EQ(MinimumTrackSize(96).cy, 320);
    EXPECT_EQ(MinimumTrackSize(144).cx, 720);
    EXPECT_EQ(MinimumTrackSize(144).cy, 480);

    const SIZE client{800, 600};
    EXPECT_TRUE(InMoveStrip({1, 300}, client, 96));
    EXPECT_FALSE(InMoveStrip({2, 300}, client, 96));
    EXPECT_TRUE(InMoveStrip({798, 300}, client, 96));
    EXPECT_FALSE(InMoveStrip({797, 300}, client, 96));
    EXPECT_TRUE(InMoveStrip({400, 599}, client, 96));
    EXPECT_TRUE(InMoveStrip({2, 300}, client, 144));

    EXPECT_FALSE(PassedMoveThreshold({10, 10}, {13, 7}, 96));
    EXPECT_TRUE(PassedMoveThreshold({10, 10}, {14, 10}, 96));
    EXPECT_TRUE(PassedMoveThreshold({10, 10}, {10, 6}, 96));
    EXPECT_FALSE(PassedMoveThreshold({10, 10}, {14, 10}, 144));
}

TEST(FrameClientRect, IsTheWholeWindowUnlessItCoversTheWorkArea) {
    const RECT work{0, 0, 1920, 1040};
    const RECT normal{100, 100, 900, 700};
    const RECT maximised{-8, -8, 1928, 1048};
    auto same = [](const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    EXPECT_TRUE(same(ClientRectForWindow(normal, &work), normal));
    EXPECT_TRUE(same(ClientRectForWindow(maximised, &work), work));
    EXPECT_TRUE(same(ClientRectForWindow(work, &work), work));
    EXPECT_TRUE(same(ClientRectForWindow(maximised, nullptr), maximised));
    // Covering three sides is not enough.
    const RECT tall{-8, -8, 1900, 1048};
    EXPECT_TRUE(same(ClientRectForWindow(tall, &work), tall));
}

TEST(FramePlacement, KeepsAGivenPositionOnTheWorkArea) {
    const RECT work{0, 0, 1920, 1040};
    const SIZE size{800, 600};
    auto at = [&](LONG x, LONG y) { return KeepOnWorkArea({x, y}, size, work); };
    EXPECT_EQ(at(100, 100).x, 100);
    EXPECT_EQ(at(1500, 100).x, 1120);
    EXPECT_EQ(at(100, -50).y, 0);
    EXPECT_EQ(at(-200, 900).x, 0);
    EXPECT_EQ(at(-200, 900).y, 440);
    // A window wider than the work area ends at its right edge.
    EXPECT_EQ(KeepOnWorkArea({100, 0}, {2000, 600}, work).x, -80);
}

TEST(FramePlacement, SavedRectangleMustBeLargeEnoughAndItsCentreIsComputedSafely) {
    EXPECT_FALSE(SavedRectLargeEnough({false, 100, 100, 1000, 700}));
    EXPECT_TRUE(SavedRectLargeEnough({true, 100, 100, 1000, 700}));
    EXPECT_TRUE(SavedRectLargeEnough({true, 0, 0, 320, 240}));
    EXPECT_FALSE(SavedRectLargeEnough({true, 0, 0, 319, 240}));
    EXPECT_FALSE(SavedRectLargeEnough({true, 0, 0, 320, 239}));

    EXPECT_EQ(SavedRectCentre({true, 100, 100, 1000, 700}).x, 600);
    EXPECT_EQ(SavedRectCentre({true, 100, 100, 1000, 700}).y, 450);
    EXPECT_EQ(SavedRectCentre({true, -101, 0, 3, 3}).x, -100);
    EXPECT_EQ(SavedRectCentre({true, INT_MAX, INT_MAX, 1000, 1000}).x, LONG_MAX);
}

TEST(FrameClose, AsksOnlyForSeveralTabsAndNotDuringARestart) {
    EXPECT_FALSE(CloseNeedsConfirmation(0, false));
    EXPECT_FALSE(CloseNeedsConfirmation(1, false));
    EXPECT_TRUE(CloseNeedsConfirmation(2, false));
    EXPECT_FALSE(CloseNeedsConfirmation(5, true));
    EXPECT_EQ(CloseQuestionText(5), L"当前有 5 个标签页，确定要关闭所有标签页吗？");
    EXPECT_EQ(CloseQuestionText(12), L"当前有 12 个标签页，确定要关闭所有标签页吗？");
}

TEST(FrameClose, AnInstallerClosesTheProgramAndALogOffOnlySaves) {
    EXPECT_EQ(StepForSessionEnd(false, ENDSESSION_CLOSEAPP), SessionEndStep::Nothing);
    EXPECT_EQ(StepForSessionEnd(false, 0), SessionEndStep::Nothing);
    EXPECT_EQ(StepForSessionEnd(true, ENDSESSION_CLOSEAPP), SessionEndStep::SaveAndClose);
    EXPECT_EQ(StepForSessionEnd(true, ENDSESSION_CLOSEAPP | ENDSESSION_CRITICAL), SessionEndStep::SaveAndClose);
    EXPECT_EQ(StepForSessionEnd(true, 0), SessionEndStep::Save);
    EXPECT_EQ(StepForSessionEnd(true, static_cast<LPARAM>(ENDSESSION_LOGOFF)), SessionEndStep::Save);
    EXPECT_EQ(StepForSessionEnd(true, ENDSESSION_CRITICAL), SessionEndStep::Save);
}

}  // namespace

namespace {

TEST(FramePlacement, NormalRectangleMovesFromWorkspaceToScreenByTheTaskbarsOffset) {
    const RECT normal{100, 50, 1380, 850};
    const RECT monitor{0, 0, 1920, 1080};
    const RECT leftTaskbar{48, 0, 1920, 1080};
    const RECT topTaskbar{0, 40, 1920, 1080};
    const RECT secondMonitor{1920, 0, 3840, 1080};
    const RECT secondWork{1920, 30, 3840, 1080};
    auto left = [](const RECT& r) { return r.left; };
    EXPECT_EQ(left(WorkspaceToScreen(normal, monitor, monitor)), 100);
    EXPECT_EQ(left(WorkspaceToScreen(normal, monitor, leftTaskbar)), 148);
    EXPECT_EQ(WorkspaceToScreen(normal, monitor, topTaskbar).top, 90);
    EXPECT_EQ(WorkspaceToScreen(normal, monitor, topTaskbar).bottom, 890);
    EXPECT_EQ(WorkspaceToScreen(normal, secondMonitor, secondWork).top, 80);
    EXPECT_EQ(left(WorkspaceToScreen(normal, secondMonitor, secondWork)), 100);
}

}  // namespace
