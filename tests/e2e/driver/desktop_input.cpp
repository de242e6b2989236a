#include "driver/desktop_input.h"

#include <iterator>
#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "common/temp_folder.h"
#include "driver/window_queries.h"

namespace {

// The release that goes with a press.
DWORD ReleaseOf(DWORD down) {
    switch (down) {
    case MOUSEEVENTF_RIGHTDOWN:
        return MOUSEEVENTF_RIGHTUP;
    case MOUSEEVENTF_MIDDLEDOWN:
        return MOUSEEVENTF_MIDDLEUP;
    default:
        return MOUSEEVENTF_LEFTUP;
    }
}

bool CursorAt(POINT screen) {
    POINT cursor{};
    return GetCursorPos(&cursor) && cursor.x == screen.x && cursor.y == screen.y;
}

// Whether the window's thread has handled everything queued before this call:
// a thread takes the input waiting for it before it answers the second of two
// sent messages.
bool ThreadCaughtUp(HWND window) {
    for (int round = 0; round < 2; ++round) {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kInputStepMs, &ignored)) return false;
    }
    return true;
}

// What a window's thread holds; all empty when it cannot tell.
GUITHREADINFO ThreadInfoOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0 || !GetGUIThreadInfo(thread, &info)) {
        info = GUITHREADINFO{};
        info.cbSize = sizeof(info);
    }
    return info;
}

// Rests the cursor on a window's point and presses there.
testing::AssertionResult PressOn(HWND window, POINT screen, DWORD down) {
    testing::AssertionResult rested = RestCursorOn(window, screen);
    if (rested) Buttons(down);
    return rested;
}

}  // namespace

void PlaceCursor(POINT screen) {
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    move.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(move));
}

void Buttons(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

void Wheel(int delta) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(delta);
    SendInput(1, &input, sizeof(input));
}

void Key(WORD key) { Chord({key}); }

void HoldKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(INPUT));
}

void Chord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> input;
    for (WORD key : keys) {
        INPUT press{};
        press.type = INPUT_KEYBOARD;
        press.ki.wVk = key;
        input.push_back(press);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT release{};
        release.type = INPUT_KEYBOARD;
        release.ki.wVk = *key;
        release.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(release);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

bool Painted(HWND window) { return IsWindow(window) && !GetUpdateRect(window, nullptr, FALSE); }

HWND CaptureOf(HWND window) { return ThreadInfoOf(window).hwndCapture; }

HWND FocusOf(HWND window) { return ThreadInfoOf(window).hwndFocus; }

testing::AssertionResult RestCursorOn(HWND window, POINT screen) {
    const HWND root = GetAncestor(window, GA_ROOT);
    if (!WaitUntil([&] { return Painted(root) && Painted(window); }, kInputStepMs)) {
        return testing::AssertionFailure() << "the " << NarrowForTest(ClassOf(window)) << " window never finished painting";
    }
    HWND under = nullptr;
    const bool rests = WaitUntil(
        [&] {
            PlaceCursor(screen);
            under = WindowFromPoint(screen);
            return under == window && ThreadCaughtUp(window) && CursorAt(screen);
        },
        kInputStepMs, 50);
    if (rests) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the cursor never rested on the " << NarrowForTest(ClassOf(window)) << " window at "
                                       << screen.x << "," << screen.y << " (under it: "
                                       << (under ? NarrowForTest(ClassOf(under)) : std::string("nothing")) << ")";
}

testing::AssertionResult GrabOn(HWND window, POINT screen) {
    testing::AssertionResult pressed = PressOn(window, screen, MOUSEEVENTF_LEFTDOWN);
    if (!pressed) return pressed;
    if (WaitUntil([&] { return CaptureOf(window) == window; }, kInputStepMs)) return testing::AssertionSuccess();
    Buttons(MOUSEEVENTF_LEFTUP);
    return testing::AssertionFailure() << "the " << NarrowForTest(ClassOf(window))
                                       << " window did not take the capture when pressed";
}

testing::AssertionResult ClickOn(HWND window, POINT screen, DWORD down) {
    testing::AssertionResult pressed = PressOn(window, screen, down);
    if (pressed) Buttons(ReleaseOf(down));
    return pressed;
}

bool MoveUntil(POINT to, const std::function<bool()>& arrived) {
    return WaitUntil(
        [&] {
            PlaceCursor(to);
            return CursorAt(to) && arrived();
        },
        kInputStepMs);
}

bool MenuShown() { return IsWindowVisible(FindWindowW(L"#32768", nullptr)) != FALSE; }
