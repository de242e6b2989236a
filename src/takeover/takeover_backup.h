#pragma once

#include <string>

// Taking over the opening of folders and undoing it exactly.

// Who the takeover is for: the Quorlen.exe that holds it, and the launcher the
// shell's commands start.
struct TakeoverTarget {
    std::wstring program;
    std::wstring launcher;
};

// Records each key's whole state, then points every key at the launcher: all of
// them or none. A key that cannot be written puts back every key written before
// it and the record as it was; the error text then names the key. Keys that
// hold our commands already keep their earlier record. With onlyOurs, keys
// another program holds are left as they are (carrying over an earlier
// version's takeover asks nobody, so it takes nothing new).
bool ApplyTakeoverTo(const TakeoverTarget& target, std::wstring* error, bool onlyOurs = false);

// Puts back exactly what the record holds, in the keys that still hold what the
// takeover wrote; a key another program changed since stays theirs and a key
// already gone counts as restored. The record goes only once every key is back,
// so a restore that failed or was cut off is finished by the next one. Then the
// holder's config gets Takeover=0. With no record there is nothing to undo.
bool RestoreTakeover(std::wstring* error);

// Carries the takeover of an earlier version (commands naming the program
// itself or the command interpreter, and their backup key) over to the record
// and the launcher, or just drops a backup that no key uses any more.
void CarryOverEarlierTakeover(const TakeoverTarget& target);

// Whether an earlier version's backup key is there.
[[nodiscard]] bool EarlierBackupExists();

// The programs whose commands count as ours: the holder, the launcher, and the
// program an earlier version's commands start, read once from its own key.
struct OurPrograms {
    std::wstring program;
    std::wstring launcher;
    std::wstring earlier;
};
[[nodiscard]] OurPrograms OurProgramsFor(const std::wstring& program, const std::wstring& launcher);

// Whether a key holds what the takeover writes: our command (any form any
// version wrote), our caption or our display name.
[[nodiscard]] bool HoldsOurValue(size_t touchedIndex, const OurPrograms& ours);
