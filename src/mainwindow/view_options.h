#pragma once

#include <windows.h>

#include "mainwindow/tabs/tab_set.h"
#include "settings/settings_store.h"
#include "ui/modal_loops.h"

// The view button's menu: the active panel's view mode, the panes and the
// display options, marked as they stand. The choice arrives as a command of
// window.
void ShowViewMenu(HWND window, const FilePanel* activePanel, const Settings& settings, ModalLoops& modal);

// Acts on a command of the view menu: a view mode for the active panel, a pane
// or a display option for every panel. True when an option changed, after
// which the program starts again so that every panel is made anew with it.
[[nodiscard]] bool ApplyViewChoice(int id, TabSet& tabs, SettingsStore& settings);
