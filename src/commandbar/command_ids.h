#pragma once

// The one table of command ids: raised by the command bar's buttons and edit
// boxes and by the view-options menu, and dispatched by the main window.
inline constexpr int kCommandBack = 4001;
inline constexpr int kCommandForward = 4002;
inline constexpr int kCommandUp = 4003;
inline constexpr int kCommandRefresh = 4004;
inline constexpr int kCommandViewMenu = 4005;
inline constexpr int kCommandOpenTypedAddress = 4009;    // also the address edit's control id
inline constexpr int kCommandOpenAddressSegment = 4010;
inline constexpr int kCommandReopenClosedFolder = 4012;
inline constexpr int kCommandSearchTextChanged = 4013;   // also the search box's control id
// The most recently closed folder, reopened behind the active tab (a middle click).
inline constexpr int kCommandReopenClosedFolderBehind = 4014;
inline constexpr int kCommandFolderOptions = 4301;
