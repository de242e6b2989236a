#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <cstddef>
#include <vector>

// The decisions of the panel's view input that need no window: they take what
// the windows report and return what the windows should do.

// The system's double-click limits: the longest pause between the clicks and how
// far the second may land from the first, per axis.
struct DoubleClickLimits {
    UINT time = 0;
    int width = 0;
    int height = 0;
};

// Whether a click completes the double click begun by the remembered click at
// lastTime and lastPoint; a lastTime of 0 means no click is remembered. The time
// difference is unsigned, so the tick count wrapping around does not matter.
[[nodiscard]] bool IsSecondClick(DWORD lastTime, POINT lastPoint, DWORD time, POINT point,
                                 const DoubleClickLimits& limits);

// A margin keeps its value unless the navigation pane's position in its parent
// along that axis is a plausible margin (0 to 20 pixels).
[[nodiscard]] int MeasuredMargin(int position, int current);

// A measured band above the navigation tree is used only within 1 to 299
// pixels; anything else gives 0, "not usable".
[[nodiscard]] int UsableNavInset(int measured);

// Where the navigation pane goes in its parent's client area so that the band
// above the tree is pushed out of sight: left, top, right and bottom.
[[nodiscard]] RECT NavLayoutTarget(int navInset, int marginLeft, int marginTop, const RECT& parentClient);

// Where a context menu asked for from the keyboard appears: in the middle of the
// part of the item's rectangle that is in view, or at the view's top left
// corner when the item is out of sight. Both rectangles in screen coordinates.
[[nodiscard]] POINT KeyboardMenuPoint(const RECT& item, const RECT& view);

// Whether an item with these attributes is a folder to browse into: archives
// such as .zip files are folders to the shell too, but they are also files,
// and a user opens them with the archiver of their choice.
[[nodiscard]] bool IsBrowsableFolder(SFGAOF attributes);

// The flags an item menu is asked for with: the view renames in place, and
// Shift adds the verbs the system keeps for it.
[[nodiscard]] UINT ItemMenuFlags(bool shiftDown);

// The program's own entries in the menu for the view's items, above the shell's.
enum class ItemMenuEntry { CopyToOtherPane, MoveToOtherPane, OpenInNewTab, OpenInOtherPane };

// The entries, top to bottom, for a menu on itemCount items; oneFolder says the
// items are a single browsable folder. While no other pane is offered, only a
// single folder has something to add; no entries means the view shows the
// shell's menu as it is.
[[nodiscard]] std::vector<ItemMenuEntry> ItemMenuEntries(bool otherPaneOffered, size_t itemCount, bool oneFolder);

// Whether the view's item positions tell which item is under a point, in a
// view mode (FOLDERVIEWMODE): only icons and tiles sit where their positions
// say; lists, details and content rows are not, and overlap there.
[[nodiscard]] bool PositionsLocateItems(UINT viewMode);

// Whether a tree hit test (TVHT_*) landed on an item's row anywhere: Windows'
// navigation tree highlights whole rows, so a click beside a label is on it too.
[[nodiscard]] bool OnTreeRow(UINT hitFlags);
