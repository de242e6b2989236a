#pragma once

#include <windows.h>

#include <cstddef>
#include <iterator>

#include "tabstrip/tab_strip_events.h"
#include "tabstrip/tab_strip_layout.h"
#include "tabstrip/tab_strip_messages.h"
#include "ui/glyph_icon.h"
#include "ui/palette.h"

// The strip's buttons, each described once. The layout places them, the
// painting draws them, the mouse and assistive tools press them, and the left
// edge queries answer for them, all from kTabStripButtons.

// What HitTestTabStrip gives for a point over a button. Below kHitNothing, so
// that no button is taken for a tab or for the empty strip.
inline constexpr int kHitPlus = -2;
inline constexpr int kHitStar = -3;
inline constexpr int kHitSettings = -4;
inline constexpr int kHitFolderOptions = -6;
inline constexpr int kHitMinimize = -7;
inline constexpr int kHitMaximize = -8;
inline constexpr int kHitClose = -9;

enum class ButtonShape {
    // Stands behind the last tab and is outlined like one; it shows a face only
    // while hot or pressed.
    AmongTabs,
    Small,  // 20 DIPs high, centred in the first row
    Tall,   // the first row's height less an inset above and below
};

enum class ButtonAction {
    RaiseEvent,      // tells the owner through the button's event
    OpenFavourites,  // drops the favourites list down below the button
    // The window's own buttons, which act on the release as the system's do.
    Minimize,
    ToggleMaximized,
    CloseWindow,
};

// A button's edges as distances leftwards from the strip's right edge.
struct DipsFromRight {
    int left = 0;
    int right = 0;
};

struct ButtonFace {
    wchar_t glyph = 0;
    const wchar_t* name = nullptr;  // what screen readers call the button
};

struct TabStripButton {
    int hitCode = kHitNothing;
    RECT TabStripLayout::*rect = nullptr;
    ButtonShape shape = ButtonShape::Small;
    DipsFromRight place{};  // where the layout puts a button that is not among the tabs
    ButtonFace face{};
    // Shown instead of face while the window is maximised; none without a glyph.
    ButtonFace maximizedFace{};
    ChromeInk ink = ChromeInk::ButtonGlyph;
    // The glyph's icon is made this size in px and drawn iconDips square,
    // whatever the DPI.
    int glyphPx = 32;
    int iconDips = 0;
    bool prefersShellFolderIcon = false;  // the glyph stands in only when the shell gives none
    ButtonAction action = ButtonAction::RaiseEvent;
    int event = -1;  // the one RaiseEvent raises
    UINT leftEdgeQuery = 0;
};

// In the order the hit test tries them, and from left to right as screen
// readers list them.
inline constexpr TabStripButton kTabStripButtons[] = {
    {.hitCode = kHitPlus,
     .rect = &TabStripLayout::plusRect,
     .shape = ButtonShape::AmongTabs,
     .face = {glyph::kPlus, L"新建标签页"},
     .glyphPx = 24,
     .iconDips = 17,
     .event = kTabEventNewTab,
     .leftEdgeQuery = kTabStripPlusLeftMessage},
    {.hitCode = kHitStar,
     .rect = &TabStripLayout::starRect,
     .place = {150, 130},
     .face = {glyph::kStar, L"收藏夹"},
     .ink = ChromeInk::StarGlyph,
     .iconDips = 14,
     .action = ButtonAction::OpenFavourites,
     .leftEdgeQuery = kTabStripStarLeftMessage},
    {.hitCode = kHitSettings,
     .rect = &TabStripLayout::settingsRect,
     .shape = ButtonShape::Tall,
     .place = {128, 104},
     .face = {glyph::kSettings, L"设置"},
     .iconDips = 16,
     .event = kTabEventSettings,
     .leftEdgeQuery = kTabStripSettingsLeftMessage},
    {.hitCode = kHitFolderOptions,
     .rect = &TabStripLayout::folderOptionsRect,
     .shape = ButtonShape::Tall,
     .place = {102, 78},
     .face = {glyph::kFolderOptions, L"文件夹选项"},
     .iconDips = 16,
     .prefersShellFolderIcon = true,
     .event = kTabEventFolderOptions,
     .leftEdgeQuery = kTabStripFolderOptionsLeftMessage},
    {.hitCode = kHitMinimize,
     .rect = &TabStripLayout::minimizeRect,
     .place = {76, 52},
     .face = {glyph::kMinimize, L"最小化"},
     .iconDips = 11,
     .action = ButtonAction::Minimize,
     .leftEdgeQuery = kTabStripMinimizeLeftMessage},
    {.hitCode = kHitMaximize,
     .rect = &TabStripLayout::maximizeRect,
     .place = {51, 27},
     .face = {glyph::kMaximize, L"最大化"},
     .maximizedFace = {glyph::kRestore, L"还原"},
     .iconDips = 11,
     .action = ButtonAction::ToggleMaximized,
     .leftEdgeQuery = kTabStripMaximizeLeftMessage},
    {.hitCode = kHitClose,
     .rect = &TabStripLayout::closeRect,
     .place = {26, 2},
     .face = {glyph::kClose, L"关闭"},
     .iconDips = 11,
     .action = ButtonAction::CloseWindow,
     .leftEdgeQuery = kTabStripCloseLeftMessage},
};
inline constexpr size_t kTabStripButtonCount = std::size(kTabStripButtons);

// The button with a hit code; null for a tab or the empty strip.
[[nodiscard]] const TabStripButton* FindTabStripButton(int hitCode);

// Whether the button with a hit code is one of the window's own, which act on
// the release and may turn into a resize instead.
[[nodiscard]] bool IsCaptionButton(int hitCode);

// Whether a button shows its maximizedFace rather than its face.
[[nodiscard]] bool ShowsMaximizedFace(const TabStripButton& button, bool windowMaximized);
