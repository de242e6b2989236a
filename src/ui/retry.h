#pragma once

#include <windows.h>

// Tries attempt up to tries times, waiting waitMs between tries, for what
// another program holds for a moment: a file being read, a folder being
// scanned, the clipboard. Whether an attempt succeeded.
template <typename Attempt>
bool TryBriefly(int tries, DWORD waitMs, const Attempt& attempt) {
    for (int tried = 1;; ++tried) {
        if (attempt()) return true;
        if (tried >= tries) return false;
        Sleep(waitMs);
    }
}
