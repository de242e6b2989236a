#include "mainwindow/frame_geometry.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr int kResizeBandDips = 8;
constexpr int kMoveStripDips = 2;
constexpr int kMoveThresholdDips = 3;
constexpr int kMinimumWidthDips = 480;
constexpr int kMinimumHeightDips = 320;
constexpr int kSmallestSavedWidth = 320;
constexpr int kSmallestSavedHeight = 240;

}  // namespace

LRESULT FrameHitTest(POINT point, const RECT& window, int dpi, bool maximised) {
    if (maximised) return HTCLIENT;
    const int band = ScaleDip(kResizeBandDips, dpi);
    const int strip = ScaleDip(kMoveStripDips, dpi);
    const bool top = point.y < window.top + band;
    const bool bottom = point.y > window.bottom - band - 1;
    const bool left = point.x < window.left + band;
    const bool right = point.x > window.right - band - 1;

    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (!top && !bottom && !left && !right) return HTCLIENT;

    // Along the sides the outermost pixels move the window instead of sizing it.
    const bool inStrip = point.y < window.top + strip || point.y > window.bottom - strip - 1 ||
                         point.x < window.left + strip || point.x > window.right - strip - 1;
    if (inStrip) return HTCLIENT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
    if (left) return HTLEFT;
    return HTRIGHT;
}

bool InMoveStrip(POINT point, SIZE client, int dpi) {
    const int strip = ScaleDip(kMoveStripDips, dpi);
    return point.x < strip || point.y < strip || point.x >= client.cx - strip || point.y >= client.cy - strip;
}

bool PassedMoveThreshold(POINT start, POINT now, int dpi) {
    const int threshold = ScaleDip(kMoveThresholdDips, dpi);
    return std::abs(now.x - start.x) > threshold || std::abs(now.y - start.y) > threshold;
}

SIZE MinimumTrackSize(int dpi) {
    return SIZE{ScaleDip(kMinimumWidthDips, dpi), ScaleDip(kMinimumHeightDips, dpi)};
}

RECT ClientRectForWindow(const RECT& window, const RECT* work) {
    if (work && window.left <= work->left && window.top <= work->top && window.right >= work->right &&
        window.bottom >= work->bottom) {
        return *work;
    }
    return window;
}

POINT KeepOnWorkArea(POINT position, SIZE size, const RECT& work) {
    if (position.x < work.left) position.x = work.left;
    if (position.y < work.top) position.y = work.top;
    if (position.x + size.cx > work.right) position.x = work.right - size.cx;
    if (position.y + size.cy > work.bottom) position.y = work.bottom - size.cy;
    return position;
}

bool SavedRectLargeEnough(const SavedWindowRect& saved) {
    return saved.present && saved.width >= kSmallestSavedWidth && saved.height >= kSmallestSavedHeight;
}

POINT SavedRectCentre(const SavedWindowRect& saved) {
    // Stored values may be anything a text file can hold; add in 64 bits.
    auto centre = [](int start, int length) {
        const long long value = static_cast<long long>(start) + length / 2;
        return static_cast<LONG>(std::clamp<long long>(value, LONG_MIN, LONG_MAX));
    };
    return POINT{centre(saved.x, saved.width), centre(saved.y, saved.height)};
}

RECT WorkspaceToScreen(const RECT& rect, const RECT& monitor, const RECT& work) {
    const LONG dx = work.left - monitor.left;
    const LONG dy = work.top - monitor.top;
    return RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

bool CloseNeedsConfirmation(size_t tabCount, bool unattended) { return tabCount > 1 && !unattended; }

SessionEndStep StepForSessionEnd(bool ending, LPARAM reasons) {
    if (!ending) return SessionEndStep::Nothing;
    return (reasons & ENDSESSION_CLOSEAPP) != 0 ? SessionEndStep::SaveAndClose : SessionEndStep::Save;
}

std::wstring CloseQuestionText(size_t tabCount) {
    return L"当前有 " + std::to_wstring(tabCount) + L" 个标签页，确定要关闭所有标签页吗？";
}
