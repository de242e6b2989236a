#pragma once

#include <windows.h>

inline constexpr wchar_t kDonateWindowClass[] = L"Quorlen.Donate";

// Shows the donation picture in a modal window over owner and returns when the
// window is closed. Tells the user when the picture is missing.
void ShowDonateWindow(HWND owner);
