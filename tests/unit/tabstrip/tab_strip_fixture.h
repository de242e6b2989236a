#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tabstrip/tab_strip.h"

// A tab strip in a hidden top-level window, as a main window would hold it.
class TabStripTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets the strip's DPI and client size in px.
    void Resize(UINT dpi, int width, int height);

    HWND parent = nullptr;
    std::unique_ptr<TabStrip> strip;
};

// Dispatches this thread's messages until the strip's spinner timer has ticked
// that many times; false when it has not within a few seconds.
[[nodiscard]] bool WaitForSpinnerTicks(HWND strip, int ticks);

// The strip's client area as painted into a bitmap of our own.
class StripPicture {
public:
    explicit StripPicture(HWND strip);

    [[nodiscard]] COLORREF At(int x, int y) const;
    // Whether any pixel of the rectangle has exactly the colour.
    [[nodiscard]] bool Contains(const RECT& area, COLORREF colour) const;
    [[nodiscard]] bool AllAre(const RECT& area, COLORREF colour) const;
    // Whether any pixel of the rectangle is clearly darker than the face
    // colours: text or icon ink.
    [[nodiscard]] bool HasInk(const RECT& area) const;
    [[nodiscard]] bool IsInk(int x, int y) const;

private:
    template <typename PixelTest>
    [[nodiscard]] bool AnyPixel(const RECT& area, PixelTest test) const;

    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};
