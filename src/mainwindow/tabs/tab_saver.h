#pragma once

#include <windows.h>

#include <functional>

// Tab changes come in bursts: a new tab is added, navigated and activated. The
// saver makes one save of the tab list per burst, once the messages of the
// burst are handled, by posting itself a message; a window about to go makes a
// save it asked for at once.
class TabSaver {
public:
    // save writes the tab list; the message is posted to window to make it.
    TabSaver(std::function<void()> save, UINT message) : save(std::move(save)), message(message) {}
    void PostTo(HWND window) { this->window = window; }

    // Asks for a save; one that cannot be posted is made at once.
    void Ask();
    // The posted message arrived, or the window is about to go: the save asked
    // for is made now.
    void SaveIfAsked();

private:
    std::function<void()> save;
    UINT message;
    HWND window = nullptr;
    bool posted = false;
};
