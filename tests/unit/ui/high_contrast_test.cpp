#include <gtest/gtest.h>

#include "ui/high_contrast.h"

namespace {

// Outside high contrast every ink keeps the colour the chrome was drawn in;
// inside it, each takes the system colour of what it stands on.
TEST(HighContrast, InksTakeTheSystemColoursOfTheirPlaceOnlyInHighContrast) {
    EXPECT_EQ(InkColour(ChromeInk::ButtonGlyph, false), RGB(0, 0, 0));
    EXPECT_EQ(InkColour(ChromeInk::StarGlyph, false), RGB(255, 185, 0));
    EXPECT_EQ(InkColour(ChromeInk::AddressText, false), RGB(50, 50, 50));

    struct Row {
        ChromeInk ink;
        int system;
    };
    const Row rows[] = {
        {ChromeInk::ButtonGlyph, COLOR_BTNTEXT},  {ChromeInk::DisabledGlyph, COLOR_GRAYTEXT},
        {ChromeInk::StarGlyph, COLOR_BTNTEXT},    {ChromeInk::BarText, COLOR_BTNTEXT},
        {ChromeInk::SelectedText, COLOR_HIGHLIGHTTEXT}, {ChromeInk::AddressText, COLOR_WINDOWTEXT},
        {ChromeInk::SearchGlyph, COLOR_WINDOWTEXT}, {ChromeInk::HotListRow, COLOR_HIGHLIGHT},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HighContrastSystemColour(row.ink), row.system) << static_cast<int>(row.ink);
        EXPECT_EQ(InkColour(row.ink, true), GetSysColor(row.system)) << static_cast<int>(row.ink);
    }
}

}  // namespace
