#include "dialogs/donate_layout.h"

#include <algorithm>
#include <cstdint>

#include "ui/dpi.h"

namespace {

constexpr int kMarginDip = 12;
// Pixels, not DIPs: the initial size keeps a large picture on any screen.
constexpr int kMaxInitialWidth = 400;
constexpr int kMaxInitialHeight = 560;

// The picture scaled to fit a box, keeping its shape, each side cut to whole
// pixels but never below 1. Worked out in integers, so that the side which
// fills the box fills it exactly.
SIZE FitInto(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight) {
    if (int64_t{boxHeight} * pictureWidth <= int64_t{boxWidth} * pictureHeight) {
        const int64_t width = int64_t{pictureWidth} * boxHeight / pictureHeight;
        return SIZE{std::max<LONG>(1, static_cast<LONG>(width)), boxHeight};
    }
    const int64_t height = int64_t{pictureHeight} * boxWidth / pictureWidth;
    return SIZE{boxWidth, std::max<LONG>(1, static_cast<LONG>(height))};
}

}  // namespace

SIZE DonateClientSize(int pictureWidth, int pictureHeight, int dpi) {
    const SIZE picture = pictureWidth <= kMaxInitialWidth && pictureHeight <= kMaxInitialHeight
                             ? SIZE{pictureWidth, pictureHeight}
                             : FitInto(pictureWidth, pictureHeight, kMaxInitialWidth, kMaxInitialHeight);
    const int margin = ScaleDip(kMarginDip, dpi);
    return SIZE{2 * margin + picture.cx, 2 * margin + picture.cy};
}

std::optional<RECT> DonatePictureRect(const RECT& client, int pictureWidth, int pictureHeight, int dpi) {
    const int margin = ScaleDip(kMarginDip, dpi);
    const int roomWidth = client.right - client.left - 2 * margin;
    const int roomHeight = client.bottom - client.top - 2 * margin;
    if (roomWidth <= 0 || roomHeight <= 0) return std::nullopt;
    const SIZE picture = FitInto(pictureWidth, pictureHeight, roomWidth, roomHeight);
    const int left = client.left + margin + (roomWidth - picture.cx) / 2;
    const int top = client.top + margin + (roomHeight - picture.cy) / 2;
    return RECT{left, top, left + picture.cx, top + picture.cy};
}
