#pragma once

// Events the strip raises through TabStrip::onEvent, with a tab index.
inline constexpr int kTabEventActivate = 0;
inline constexpr int kTabEventClose = 1;
inline constexpr int kTabEventNewTab = 2;
inline constexpr int kTabEventSettings = 3;
inline constexpr int kTabEventFolderOptions = 5;
inline constexpr int kTabEventAddFavourite = 6;
// From the tab menu, with the tab's index.
inline constexpr int kTabEventDuplicate = 14;
inline constexpr int kTabEventCloseOthers = 15;
inline constexpr int kTabEventCloseToTheRight = 16;
inline constexpr int kTabEventReopenClosed = 17;
inline constexpr int kTabEventOpenInNewWindow = 18;
// Splits the tab into two panes, or makes a split tab one pane again.
inline constexpr int kTabEventToggleSplit = 19;
// Pins the tab at the left end, or lets it go back among the others.
inline constexpr int kTabEventTogglePin = 20;
// Asks for a name of the tab's own.
inline constexpr int kTabEventRename = 21;
