#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "commandbar/command_bar.h"
#include "common/bitmap_pixels.h"

// A command bar 1000 × 34 px at 96 DPI in a hidden top-level window, as a main
// window would hold it, with every command it raises recorded.
class CommandBarTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    [[nodiscard]] HWND Control(int id) const;
    // Sends a left click at a point of the bar's client area.
    void ClickBar(int x, int y) const;
    // Whether the bar has asked its parent to lay it out since the last call.
    [[nodiscard]] bool TakeRelayoutRequest() const;

    HWND parent = nullptr;
    std::unique_ptr<CommandBar> bar;
    std::vector<int> commands;
};

[[nodiscard]] bool IsShown(HWND window);

// A window's client area as it paints itself into a bitmap of our own.
[[nodiscard]] PixelImage PrintClient(HWND window);

[[nodiscard]] bool HasColour(const RGBQUAD& pixel, COLORREF colour);
