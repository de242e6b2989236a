#pragma once

#include <windows.h>

#include <functional>

#include "ui/balloon_notice.h"

// Tells the user, once per run, that a config file could not be saved: a
// balloon pointing at the folder view. It is asked at the window's upkeep, so
// that a save made on the saving thread is told of on the window's, menus and
// dialogs open or not. Once told, later failures are only let go: a save that
// fails once fails again at every change, and the user knows what it means.
class SaveFailureNotice {
public:
    // The balloon points at the middle of folderView's top edge, a rectangle in
    // client coordinates of window, asked for only when there is something to
    // tell. A window the user cannot see leaves the telling to another, or to later.
    void TellIfDue(HWND window, int dpi, const std::function<RECT()>& folderView);
    // The notice's timer (kTimerHideSaveNotice) ran out, or the window goes.
    void Hide(HWND window);

private:
    BalloonNotice balloon;
};
