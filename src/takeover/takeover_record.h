#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "takeover/key_state.h"

// Every key the takeover changes, in the order of every loop over them: the
// open commands, the two menu captions, then the program's application key
// (last, since one of the commands lies below it).
enum class TouchedKind { Command, Verb, Application };

struct TouchedKey {
    std::wstring key;  // under HKCU\Software\Classes
    std::wstring recordName;
    TouchedKind kind;
    std::wstring argumentTemplate;  // commands only
};

[[nodiscard]] const std::vector<TouchedKey>& TouchedKeys();

// The values the takeover writes into a key of that kind.
[[nodiscard]] std::vector<std::wstring> WrittenValueNames(TouchedKind kind);

// How far the work on the keys got. A record left Applying or Restoring by a
// process that ended part-way is finished from the record at the next start.
enum class RecordPhase : DWORD { Applying = 1, Applied = 2, Restoring = 3 };

// HKCU\Software\Quorlen\Takeover.
struct TakeoverRecord {
    std::wstring program;   // the Quorlen.exe that holds the takeover
    std::wstring launcher;  // what the commands start
    RecordPhase phase = RecordPhase::Applying;
    // One per touched key, in order; none where the record has no readable state.
    std::vector<std::optional<KeyState>> states;
    bool toldProgramMissing = false;  // the launcher has told the user once
};

// None when there is no record key.
[[nodiscard]] std::optional<TakeoverRecord> ReadTakeoverRecord();

// Writes the whole record; false when any part could not be written.
[[nodiscard]] bool WriteTakeoverRecord(const TakeoverRecord& record);

[[nodiscard]] bool SetRecordPhase(RecordPhase phase);
[[nodiscard]] bool SetRecordProgram(const std::wstring& program);
void SetToldProgramMissing();

// Deletes the record; true when it is gone.
bool DeleteTakeoverRecord();
