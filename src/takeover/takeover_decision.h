#pragma once

#include <string>
#include <vector>

#include "takeover/launcher_file.h"

// What a start finds of the takeover, and what it does about it: plain values
// and a plain function, so that every case can be tested without a registry.

enum class KeyHolder { Ours, Other, Missing };

struct TakeoverSurvey {
    bool earlierBackup = false;   // an earlier version's backup key is there
    bool record = false;          // our record is there
    bool recordFinished = false;  // ... and its work was finished
    std::wstring holder;          // the Quorlen.exe the record names
    bool holderIsThis = false;
    bool holderExists = false;
    std::vector<KeyHolder> commands;  // one per open command, in table order
    std::wstring otherProgram;        // the program of the first command that is not ours
    LauncherState launcher = LauncherState::Missing;
    // What the shell answers for opening a Directory, a Folder and a Drive.
    std::wstring directoryCommand, folderCommand, driveCommand;
};

enum class StartupAction {
    None,
    CarryOver,      // an earlier version's takeover: to the record and the launcher
    FinishUndo,     // a takeover or a restore was cut off: undone from the record
    Repair,         // the launcher is missing or older: written again
    FollowMove,     // this copy was moved: the record and the launcher follow it
    AskOtherHolder, // keys held by another program, or gone
    AskNoRecord,    // the config wants a takeover this profile has none of
    AskOtherCopy,   // another copy of Quorlen, still there, holds the takeover
};

// Run once per start. Only unambiguous cases are acted on without asking.
[[nodiscard]] StartupAction DecideAtStartup(const TakeoverSurvey& survey, bool takeoverSetting);

// How many of the open commands another program holds or removed.
[[nodiscard]] int CommandsNotOurs(const TakeoverSurvey& survey);

// The settings dialog's status line.
[[nodiscard]] std::wstring TakeoverStatusText(const TakeoverSurvey& survey);

// The full report of the check button: every part and what the shell answers.
[[nodiscard]] std::wstring TakeoverCheckReport(const TakeoverSurvey& survey);

// The start's question for an Ask action; the answer Yes takes over.
[[nodiscard]] std::wstring StartupQuestion(StartupAction action, const TakeoverSurvey& survey);
