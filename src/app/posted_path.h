#pragma once

#include <windows.h>

#include <memory>
#include <string>

// Paths handed to a main window in the lParam of a posted message. The window
// takes back only strings that were handed out here, so a message that another
// program posts with a made-up lParam is ignored rather than freeing memory this
// process never gave out. Safe to use from any thread.

// Makes a heap copy of the path and returns it as the message's lParam.
[[nodiscard]] LPARAM PostablePath(const std::wstring& path);

// The string behind an lParam from PostablePath, whose ownership passes to the
// caller; null for any other value and for a string already taken.
[[nodiscard]] std::unique_ptr<std::wstring> TakePostedPath(LPARAM lParam);

// Frees a string whose message could not be posted.
void DiscardPostedPath(LPARAM lParam);
