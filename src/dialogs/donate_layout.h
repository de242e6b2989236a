#pragma once

#include <windows.h>

#include <optional>

// Where the donate window puts its picture, apart from any window. Picture sizes
// are in pixels and above 0.

// The client size the window opens with: the picture at its own size, shrunk to
// at most 400 × 560 pixels keeping its shape but never enlarged, with a margin
// of 12 DIP around it.
[[nodiscard]] SIZE DonateClientSize(int pictureWidth, int pictureHeight, int dpi);

// Where the picture goes in a client area: as large as fits inside the 12-DIP
// margin, keeping its shape, centred. Nothing when no room is left inside the margin.
[[nodiscard]] std::optional<RECT> DonatePictureRect(const RECT& client, int pictureWidth, int pictureHeight, int dpi);
