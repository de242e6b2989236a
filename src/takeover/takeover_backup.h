#pragma once

#include <string>

#include "ui/handles.h"

// HKCU\Software\Quorlen\Backup, opened for reading, setting values and creating
// subkeys, created when missing; empty when neither works.
[[nodiscard]] UniqueKey OpenBackupKey();

// Records what the takeover keys hold unless they already hold our own commands,
// then points them at this program. On failure, sets the error text when given.
bool ApplyTakeover(std::wstring* error);

// Puts back what the backup recorded, in the keys that still hold our commands.
// On failure, sets the error text when given.
bool RestoreTakeover(std::wstring* error);
