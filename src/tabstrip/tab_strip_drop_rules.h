#pragma once

#include <windows.h>
#include <shobjidl.h>

// The decisions of the strip as a drop target for files, as functions of plain
// values: hit codes, shell attributes and drop effects. The drop target gathers
// these from the drag and the shell and acts on the answers.

// What files dragged over a part of the strip would be dropped into.
enum class DropPlace {
    Tab,      // the tab's folder
    NewTabs,  // a new tab for each dropped folder
    Nowhere,
};

// hitCode as HitTestTabStrip gives it: a tab, the "+", the empty strip, a button.
[[nodiscard]] DropPlace DropPlaceForHit(int hitCode);

// Whether a dropped item with these shell attributes opens as a tab: a folder,
// but not a file the shell also browses like one, such as a zip file.
[[nodiscard]] bool OpensAsTab(SFGAOF attributes);

// The effect a drop that opens folders as tabs shows, out of the ones the source
// allows: a link, as nothing moves or is copied, else a copy.
[[nodiscard]] DWORD OpenAsTabsEffect(bool holdsFolder, DWORD allowedEffects);
