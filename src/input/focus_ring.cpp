#include "input/focus_ring.h"

std::optional<FocusStop> NextFocusStop(std::optional<FocusStop> current, int step, const FocusStops& available) {
    const int direction = step < 0 ? -1 : 1;
    // From outside the ring, the step lands on its first or its last stop.
    int at = current ? static_cast<int>(*current) : (direction > 0 ? kFocusStopCount - 1 : 0);
    for (int tried = 0; tried < kFocusStopCount; ++tried) {
        at = (at + direction + kFocusStopCount) % kFocusStopCount;
        if (available[static_cast<size_t>(at)]) return static_cast<FocusStop>(at);
    }
    return std::nullopt;
}
