#pragma once

#include <windows.h>

// The loops that message boxes, menus and dialogs of a window run on its
// thread. A close asked for while one is up waits until the last is answered:
// closing frees the window's object under the code that runs the loop.
class ModalLoops {
public:
    explicit ModalLoops(HWND& window) : window(window) {}

    void Begin() { ++open; }
    // The close that waited is posted once the last loop has ended.
    void End();
    // True when a close has to wait; it comes once the loops have ended.
    [[nodiscard]] bool HoldClose();

    // A message box of the window under the program's name, counted as a loop;
    // the button chosen.
    int ShowMessage(const wchar_t* text, UINT type);

    // Whether a menu, of this window or any other, runs its loop on this thread.
    [[nodiscard]] static bool MenuLoopRuns();

private:
    HWND& window;
    int open = 0;
    bool closeWaits = false;
};
