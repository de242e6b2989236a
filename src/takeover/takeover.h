#pragma once

#include <string>

#include "takeover/takeover_decision.h"

// Folder takeover: the shell's open commands for folders and drives start the
// launcher, which hands the folder to Quorlen while Quorlen is there and to the
// system's explorer.exe once it is gone. Nothing is switched at exit, so a
// crash, a kill or a moved program never leaves folders unopenable.

// The full path of the running executable; empty when it cannot be had whole.
[[nodiscard]] std::wstring ExecutablePath();

// Reads the record, the keys and the launcher, and with askTheShell what the
// shell answers for opening a folder (which loads the shell's libraries).
[[nodiscard]] TakeoverSurvey SurveyTakeover(bool askTheShell = false);

// Takes over for this program: refuses an unsafe location, writes the launcher,
// then the keys (all or none), the uninstall entry and the documents. On
// failure, sets the error text when given.
bool ApplyTakeover(std::wstring* error);

// The one undo of the takeover, for every way of asking for it: the settings
// dialog, the uninstall option, the installed-programs entry and the restore
// tool. Removes the uninstall entry and, once nothing needs it, the launcher.
bool UndoTakeover(std::wstring* error);

// Acts on a start's survey where that needs no question (see DecideAtStartup).
void RunSilentStartupAction(StartupAction action);
