#pragma once

#include <windows.h>

// Messages outside tools send to a tab strip window to read it or act on a tab.
// Other programs and the tests send these numbers, so they never change.
inline constexpr UINT kTabStripCountMessage = 0x8050;
inline constexpr UINT kTabStripActiveMessage = 0x8051;
inline constexpr UINT kTabStripSelectMessage = 0x8052;  // wParam: tab index
inline constexpr UINT kTabStripCloseMessage = 0x8053;   // wParam: tab index

// Each answers a button's left edge in client px, for a tool that clicks it.
inline constexpr UINT kTabStripPlusLeftMessage = 0x8054;
inline constexpr UINT kTabStripStarLeftMessage = 0x8055;
inline constexpr UINT kTabStripSettingsLeftMessage = 0x8056;
inline constexpr UINT kTabStripFolderOptionsLeftMessage = 0x8058;
inline constexpr UINT kTabStripMinimizeLeftMessage = 0x805A;
inline constexpr UINT kTabStripMaximizeLeftMessage = 0x805B;
inline constexpr UINT kTabStripCloseLeftMessage = 0x805C;
