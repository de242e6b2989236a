#include "driver/tab_drag.h"

#include "common/temp_folder.h"
#include "driver/desktop_input.h"
#include "driver/window_queries.h"
#include "tabstrip/tab_strip_messages.h"

namespace {

// Whether the drag image of a tab stands where it follows the cursor to.
bool GhostFollows(POINT cursor) {
    const HWND ghost = FindWindowW(L"Quorlen.TabGhost", nullptr);
    RECT place{};
    if (!ghost || !GetWindowRect(ghost, &place)) return false;
    const int offset = MulDiv(10, static_cast<int>(GetDpiForWindow(ghost)), 96);
    return place.left == cursor.x + offset && place.top == cursor.y + offset;
}

}  // namespace

POINT TabCentre(HWND strip, int index, int tabs) {
    const int width = (static_cast<int>(Query(strip, kTabStripPlusLeftMessage)) - 6) / tabs;
    POINT point{2 + width * index + width / 2, 13};
    ClientToScreen(strip, &point);
    return point;
}

testing::AssertionResult DragTab(HWND strip, POINT from, POINT to) {
    testing::AssertionResult grabbed = GrabOn(strip, from);
    if (!grabbed) return grabbed;
    for (const POINT at : {POINT{from.x + 10, from.y}, to}) {
        if (!MoveUntil(at, [at] { return GhostFollows(at); })) {
            Buttons(MOUSEEVENTF_LEFTUP);
            return testing::AssertionFailure() << "the tab's image did not follow the cursor to " << at.x << "," << at.y;
        }
    }
    Buttons(MOUSEEVENTF_LEFTUP);
    if (!WaitUntil([&] { return CaptureOf(strip) != strip; }, kInputStepMs)) {
        return testing::AssertionFailure() << "the strip kept the capture after the drop";
    }
    return testing::AssertionSuccess();
}
