#include "mainwindow/tabs/tab_saver.h"

void TabSaver::Ask() {
    if (posted) return;
    posted = window && PostMessageW(window, message, 0, 0) != FALSE;
    if (!posted) save();
}

void TabSaver::SaveIfAsked() {
    if (!posted) return;
    posted = false;
    save();
}
