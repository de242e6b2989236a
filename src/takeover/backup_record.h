#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"

// What the backup key holds about one key's value before the takeover: the value
// N and the number N_Existed beside it.
struct BackupRecord {
    bool present = false;  // both could be read
    bool existed = false;  // the value was there and readable as a string
    RegistryString value;  // empty when it was not there

    bool operator==(const BackupRecord&) const = default;
};

// The record of a value that was not there before the takeover.
[[nodiscard]] BackupRecord AbsentRecord();

// Reads N_Existed and, only when that works, N.
[[nodiscard]] BackupRecord ReadBackupRecord(HKEY backup, const std::wstring& name);

// Writes N, in the type the original value had, and N_Existed; false when either fails.
[[nodiscard]] bool WriteBackupRecord(HKEY backup, const std::wstring& name, const BackupRecord& record);

// What an apply records for one value, given what the value holds now and what an
// earlier apply recorded. A value that holds one of our own commands (or our
// caption) was written by an earlier apply, so that apply's record still
// describes the state before the takeover and is kept. Only when there is no
// usable earlier record is such a value recorded as absent: restoring then falls
// back to the system's default rather than to our own command.
[[nodiscard]] BackupRecord ChooseBackupRecord(const std::optional<RegistryString>& current,
                                              const BackupRecord& earlier,
                                              const std::function<bool(const std::wstring&)>& isOurs);

// Everything the backup key records, row by row in table order.
struct BackupSnapshot {
    std::array<BackupRecord, TakeoverKeys.size()> commands;
    std::array<BackupRecord, TitleVerbKeys.size()> verbs;
};

[[nodiscard]] BackupSnapshot ReadBackupSnapshot(HKEY backup);
