#pragma once

#include <string>
#include <vector>

#include "takeover/key_state.h"

// Taking a key's state under HKCU\Software\Classes and putting it back.

// What the key holds now of the named values, and how many levels of its path exist.
[[nodiscard]] KeyState CaptureKeyState(const std::wstring& subkey, const std::vector<std::wstring>& valueNames);

// Writes each saved value back as it was, and deletes those that were not
// there; the default value goes last, so that a restore cut off part-way still
// finds the key holding our command and is taken up again. Returns the first
// failing status, or ERROR_SUCCESS. A key that is gone counts as put back: its
// values are then the system's again.
[[nodiscard]] LSTATUS PutBackKeyState(const std::wstring& subkey, const KeyState& state);

// Deletes the levels of the key's path that did not exist before, deepest
// first, each only while it holds nothing: what another program put there since
// stays, and so does every level above it.
void RemoveCreatedLevels(const std::wstring& subkey, uint32_t existingLevels);
