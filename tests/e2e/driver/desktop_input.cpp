#include "driver/desktop_input.h"

#include "common/temp_folder.h"

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

void Click(POINT screen) {
    PlaceCursor(screen);
    Buttons(MOUSEEVENTF_LEFTDOWN);
    Buttons(MOUSEEVENTF_LEFTUP);
}

void Key(WORD key) {
    INPUT input[2]{};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

bool MoveUntil(POINT to, const std::function<bool()>& arrived) {
    return WaitUntil(
        [&] {
            PlaceCursor(to);
            POINT cursor{};
            return GetCursorPos(&cursor) && cursor.x == to.x && cursor.y == to.y && arrived();
        },
        10000);
}
