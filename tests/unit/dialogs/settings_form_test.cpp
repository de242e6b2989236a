#include "dialogs/settings_form.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "unit/commandbar/rect_expectations.h"

namespace {

TEST(HistoryLimitFromText, BlankOrUnusableCountsFallBackAndLargeOnesAreCut) {
    EXPECT_EQ(HistoryLimitFromText(L""), 100);
    EXPECT_EQ(HistoryLimitFromText(L" \t  "), 100);
    EXPECT_EQ(HistoryLimitFromText(L"0"), 100);
    EXPECT_EQ(HistoryLimitFromText(L"-5"), 100);
    EXPECT_EQ(HistoryLimitFromText(L"abc"), 100);
    EXPECT_EQ(HistoryLimitFromText(L"20000"), 10000);
    EXPECT_EQ(HistoryLimitFromText(L"99999999999999999999"), 10000);
    EXPECT_EQ(HistoryLimitFromText(L"10000"), 10000);
    EXPECT_EQ(HistoryLimitFromText(L"1"), 1);
    EXPECT_EQ(HistoryLimitFromText(L" 250 "), 250);
    EXPECT_EQ(HistoryLimitFromText(L"+42x7"), 42);
}

TEST(SettingsControls, ScaleWithTheDpiAndStayInsideTheClientArea) {
    const ControlRow& confirm = kSettingsControls[std::size(kSettingsControls) - 1];
    ASSERT_EQ(confirm.id, IDOK);
    EXPECT_RECT(ScaledControlRect(confirm, 96), 370, 470, 440, 496);
    EXPECT_RECT(ScaledControlRect(confirm, 144), 555, 705, 660, 744);
    // Each value is scaled on its own and rounded: 375, 29, 85 and 26 DIP at 120 DPI.
    EXPECT_RECT(ScaledControlRect(kSettingsControls[3], 120), 469, 36, 575, 69);

    std::set<int> ids;
    for (const int dpi : {96, 120, 144, 192}) {
        for (const ControlRow& row : kSettingsControls) {
            const RECT place = ScaledControlRect(row, dpi);
            EXPECT_GE(place.left, 0);
            EXPECT_GE(place.top, 0);
            EXPECT_LE(place.right, MulDiv(kSettingsClientWidthDip, dpi, 96)) << row.id;
            EXPECT_LE(place.bottom, MulDiv(kSettingsClientHeightDip, dpi, 96)) << row.id;
            ids.insert(row.id);
        }
    }
    EXPECT_EQ(ids.size(), std::size(kSettingsControls)) << "two controls share an id";
}

}  // namespace
