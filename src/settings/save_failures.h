#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A save of a config file that did not reach the disk: the old file is kept,
// and the user is told that changes are no longer being saved.
struct SaveFailure {
    std::wstring path;
    DWORD error = 0;
};

// Writes a config file as WriteLines does; a failure is kept for the user to be
// told of, unless one is kept already. Safe on any thread.
bool SaveLines(const std::wstring& path, const std::vector<std::wstring>& lines);

// The failure kept, handed out once; nothing when no save failed since the last call.
[[nodiscard]] std::optional<SaveFailure> TakeSaveFailureToReport();

// Why the file could not be written, in words for the user.
[[nodiscard]] std::wstring SaveFailureReason(DWORD error);

// What the user is told: the file, the reason, and what it means for them.
[[nodiscard]] std::wstring SaveFailureText(const SaveFailure& failure);
