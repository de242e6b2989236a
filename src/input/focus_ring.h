#pragma once

#include <array>
#include <optional>

// The parts of a main window that F6 and Shift+F6 move the keyboard focus
// round, in ring order, as in the system's file window; a split tab's right
// pane follows its left one.
enum class FocusStop {
    TabStrip,
    Address,
    SearchBox,
    Tree,
    View,
    RightTree,
    RightView,
};

inline constexpr int kFocusStopCount = 7;

// Which stops can take the focus now (a hidden search box or navigation pane cannot).
using FocusStops = std::array<bool, kFocusStopCount>;

// The stop after current (step 1) or before it (step -1) that can take the
// focus, wrapping round; from no stop, the first or the last. Nullopt when no
// other stop, and not current either, can take it.
[[nodiscard]] std::optional<FocusStop> NextFocusStop(std::optional<FocusStop> current, int step,
                                                     const FocusStops& available);
