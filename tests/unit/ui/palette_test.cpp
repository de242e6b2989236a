#include <gtest/gtest.h>

#include <vector>

#include "ui/dark_mode.h"
#include "ui/palette.h"
#include "ui/tab_colours.h"

namespace {

// High contrast wins over everything; an explicit choice over the system's
// mode; following the system, dark only when it asks apps for dark.
TEST(Palette, ChoiceFollowsTheSystemUnlessTheUserChoseAndHighContrastAlwaysWins) {
    struct Case {
        bool systemLight;
        AppearanceChoice choice;
        bool highContrast;
        Palette expected;
    };
    const Case cases[] = {
        {true, AppearanceChoice::FollowSystem, false, Palette::Light},
        {false, AppearanceChoice::FollowSystem, false, Palette::Dark},
        {true, AppearanceChoice::Dark, false, Palette::Dark},
        {false, AppearanceChoice::Light, false, Palette::Light},
        {true, AppearanceChoice::Light, false, Palette::Light},
        {false, AppearanceChoice::Dark, false, Palette::Dark},
        {false, AppearanceChoice::FollowSystem, true, Palette::HighContrast},
        {true, AppearanceChoice::Dark, true, Palette::HighContrast},
        {false, AppearanceChoice::Light, true, Palette::HighContrast},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChoosePalette(c.systemLight, c.choice, c.highContrast), c.expected)
            << "system light " << c.systemLight << ", choice " << static_cast<int>(c.choice) << ", high contrast "
            << c.highContrast;
    }
    // A number no version wrote follows the system.
    EXPECT_EQ(AppearanceFromNumber(2), AppearanceChoice::Dark);
    EXPECT_EQ(AppearanceFromNumber(1), AppearanceChoice::Light);
    for (const int32_t number : {0, -1, 3, 2147483647}) {
        EXPECT_EQ(AppearanceFromNumber(number), AppearanceChoice::FollowSystem) << number;
    }
}

// Light keeps the colours the chrome was always drawn in, the surfaces in the
// system's; dark has colours of its own, every surface dark and every mark on
// it light; high contrast takes only system colours.
TEST(Palette, InksTakeTheirLightDarkOrSystemColours) {
    EXPECT_EQ(InkColour(ChromeInk::ButtonGlyph, Palette::Light), RGB(0, 0, 0));
    EXPECT_EQ(InkColour(ChromeInk::StarGlyph, Palette::Light), RGB(255, 185, 0));
    EXPECT_EQ(InkColour(ChromeInk::AddressText, Palette::Light), RGB(50, 50, 50));
    EXPECT_EQ(InkColour(ChromeInk::Face, Palette::Light), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(InkColour(ChromeInk::Field, Palette::Light), GetSysColor(COLOR_WINDOW));

    const auto brightness = [](COLORREF colour) {
        return (GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114) / 1000;
    };
    for (const ChromeInk surface : {ChromeInk::Face, ChromeInk::HotFace, ChromeInk::PressedFace, ChromeInk::Field}) {
        EXPECT_LT(brightness(InkColour(surface, Palette::Dark)), 80) << static_cast<int>(surface);
    }
    for (const ChromeInk mark : {ChromeInk::ButtonGlyph, ChromeInk::BarText, ChromeInk::SelectedText,
                                 ChromeInk::AddressText, ChromeInk::FieldText, ChromeInk::ListText}) {
        EXPECT_GT(brightness(InkColour(mark, Palette::Dark)), 200) << static_cast<int>(mark);
    }

    struct Row {
        ChromeInk ink;
        int system;
    };
    const Row rows[] = {
        {ChromeInk::ButtonGlyph, COLOR_BTNTEXT},  {ChromeInk::DisabledGlyph, COLOR_GRAYTEXT},
        {ChromeInk::StarGlyph, COLOR_BTNTEXT},    {ChromeInk::BarText, COLOR_BTNTEXT},
        {ChromeInk::SelectedText, COLOR_HIGHLIGHTTEXT}, {ChromeInk::AddressText, COLOR_WINDOWTEXT},
        {ChromeInk::SearchGlyph, COLOR_WINDOWTEXT}, {ChromeInk::HotListRow, COLOR_HIGHLIGHT},
        {ChromeInk::Face, COLOR_BTNFACE},         {ChromeInk::Outline, COLOR_BTNTEXT},
        {ChromeInk::Accent, COLOR_HIGHLIGHT},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HighContrastSystemColour(row.ink), row.system) << static_cast<int>(row.ink);
        EXPECT_EQ(InkColour(row.ink, Palette::HighContrast), GetSysColor(row.system)) << static_cast<int>(row.ink);
    }
}

// The uxtheme ordinals are trusted only on the builds they are known on, and
// the frame's attribute changed number with 20H1.
TEST(DarkMode, UndocumentedCallsAndTheFrameAttributeAreGatedByTheBuild) {
    EXPECT_FALSE(DarkThemeCallsKnownOn(0));
    EXPECT_FALSE(DarkThemeCallsKnownOn(17134));
    EXPECT_TRUE(DarkThemeCallsKnownOn(17763));
    EXPECT_TRUE(DarkThemeCallsKnownOn(19045));
    EXPECT_TRUE(DarkThemeCallsKnownOn(26100));
    EXPECT_FALSE(DarkThemeCallsKnownOn(99999));

    EXPECT_EQ(DarkFrameAttributeFor(17134), 0u);
    EXPECT_EQ(DarkFrameAttributeFor(17763), 19u);
    EXPECT_EQ(DarkFrameAttributeFor(18363), 19u);
    EXPECT_EQ(DarkFrameAttributeFor(19041), 20u);
    EXPECT_EQ(DarkFrameAttributeFor(22631), 20u);
}

}  // namespace

// A tab's colour is a band of its own beside the title, so it needs the
// contrast of a mark, 3:1, against every surface a tab is drawn on; the title
// keeps its own. High contrast frames the band besides, as its active tab
// takes the theme's highlight.
TEST(TabColours, EveryColourStandsOutOfEveryTabSurfaceInItsPalette) {
    EXPECT_NEAR(ContrastRatio(RGB(0, 0, 0), RGB(255, 255, 255)), 21.0, 0.01);
    for (const Palette palette : {Palette::Light, Palette::Dark, Palette::HighContrast}) {
        const std::vector<ChromeInk> surfaces = palette == Palette::HighContrast
                                                    ? std::vector<ChromeInk>{ChromeInk::Face}
                                                    : std::vector<ChromeInk>{ChromeInk::Face, ChromeInk::HotFace,
                                                                             ChromeInk::Field};
        for (int colour = 1; colour <= kTabColourCount; ++colour) {
            for (const ChromeInk surface : surfaces) {
                EXPECT_GE(ContrastRatio(TabColourInk(colour, palette), InkColour(surface, palette)), 3.0)
                    << TabColourName(colour) << " on surface " << static_cast<int>(surface) << " in palette "
                    << static_cast<int>(palette);
            }
        }
    }
    EXPECT_STREQ(TabColourName(0), L"无颜色");
    EXPECT_STREQ(TabColourName(kTabColourCount + 1), L"无颜色");
}
