#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "takeover/registry_values.h"

// What an earlier version's backup key holds about one key's value before its
// takeover: the value N and the number N_Existed beside it. Read once, to carry
// that takeover over to the record.
struct BackupRecord {
    bool present = false;  // both could be read
    bool existed = false;  // the value was there and readable as a string
    RegistryString value;  // empty when it was not there

    bool operator==(const BackupRecord&) const = default;
};

// Reads N_Existed and, only when that works, N.
[[nodiscard]] BackupRecord ReadBackupRecord(HKEY backup, const std::wstring& name);
