#include "tabstrip/tab_strip_buttons.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

TEST(TabStripButtons, EachHasItsOwnHitCodePlaceNameQueryAndAction) {
    std::set<int> hitCodes;
    std::set<UINT> queries;
    std::set<int> events;
    for (const TabStripButton& button : kTabStripButtons) {
        SCOPED_TRACE(button.hitCode);
        // Below the empty strip's code, so that no button is taken for a tab.
        EXPECT_LT(button.hitCode, kHitNothing);
        EXPECT_TRUE(hitCodes.insert(button.hitCode).second);
        EXPECT_EQ(FindTabStripButton(button.hitCode), &button);
        EXPECT_TRUE(queries.insert(button.leftEdgeQuery).second);
        EXPECT_NE(button.face.glyph, 0);
        EXPECT_FALSE(std::wstring(button.face.name).empty());
        // A face shown while maximised needs both a glyph and a name.
        EXPECT_EQ(button.maximizedFace.glyph != 0, button.maximizedFace.name != nullptr);
        EXPECT_GT(button.iconDips, 0);
        if (button.action == ButtonAction::RaiseEvent) {
            EXPECT_GE(button.event, 0);
            EXPECT_TRUE(events.insert(button.event).second);
        }
    }
    EXPECT_EQ(FindTabStripButton(kHitNothing), nullptr);
    EXPECT_EQ(FindTabStripButton(0), nullptr);
}

TEST(TabStripButtons, TheMiddleOfEachLaidOutButtonHitsThatButtonAndNoneOverlap) {
    struct Strip {
        RECT client;
        int dpi;
        std::vector<int> tabWidths;
    };
    // Without tabs, the "+" behind a tab, and the "+" on a row of its own.
    const Strip strips[] = {{{0, 0, 800, 27}, 96, {}},
                            {{0, 0, 1000, 41}, 144, {150, 150}},
                            {{0, 0, 700, 54}, 192, {400, 400}}};
    for (const Strip& strip : strips) {
        SCOPED_TRACE(strip.dpi);
        const TabStripLayout layout = LayOutTabStrip(strip.client, strip.dpi, strip.tabWidths);
        for (const TabStripButton& button : kTabStripButtons) {
            const RECT& place = layout.*button.rect;
            ASSERT_FALSE(IsRectEmpty(&place)) << button.hitCode;
            const POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
            EXPECT_EQ(HitTestTabStrip(layout, middle, strip.dpi).code, button.hitCode);
            for (const TabStripButton& other : kTabStripButtons) {
                if (&other == &button) continue;
                RECT common{};
                EXPECT_FALSE(IntersectRect(&common, &place, &(layout.*other.rect))) << button.hitCode;
            }
        }
    }
}

}  // namespace
