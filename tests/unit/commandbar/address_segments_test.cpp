#include "commandbar/address_segments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rect_expectations.h"

namespace {

using Segments = std::vector<std::pair<std::wstring, std::wstring>>;

// Text and target of every segment; the lookup must not be needed.
Segments Split(const std::wstring& path) {
    const auto unused = [](const std::wstring& name) {
        ADD_FAILURE() << "a display name was looked up for a path that is not a namespace name";
        return name;
    };
    Segments result;
    for (const AddressSegment& segment : SplitAddress(path, unused)) result.emplace_back(segment.text, segment.target);
    return result;
}

TEST(SplitAddress, DrivePathsGiveTheDriveAndEveryFolder) {
    EXPECT_EQ(Split(L"C:\\"), (Segments{{L"C:", L"C:\\"}}));
    EXPECT_EQ(Split(L"C:"), (Segments{{L"C:", L"C:\\"}}));
    EXPECT_EQ(Split(L"C:\\Users\\Public"),
              (Segments{{L"C:", L"C:\\"}, {L"Users", L"C:\\Users"}, {L"Public", L"C:\\Users\\Public"}}));
    EXPECT_EQ(Split(L"d:\\文档\\资料"), (Segments{{L"d:", L"d:\\"}, {L"文档", L"d:\\文档"}, {L"资料", L"d:\\文档\\资料"}}));
}

TEST(SplitAddress, TrailingAndDoubledBackslashesGiveNoSegments) {
    const Segments expected{{L"C:", L"C:\\"}, {L"Users", L"C:\\Users"}, {L"Public", L"C:\\Users\\Public"}};
    EXPECT_EQ(Split(L"C:\\Users\\Public\\"), expected);
    EXPECT_EQ(Split(L"C:\\Users\\\\Public\\\\"), expected);
    EXPECT_EQ(Split(L"C:\\\\Users\\Public"), expected);
}

TEST(SplitAddress, UncPathsStartWithServerAndShare) {
    EXPECT_EQ(Split(L"\\\\server\\share\\dir"),
              (Segments{{L"\\\\server\\share", L"\\\\server\\share\\"}, {L"dir", L"\\\\server\\share\\dir"}}));
    EXPECT_EQ(Split(L"\\\\server\\share\\"), (Segments{{L"\\\\server\\share", L"\\\\server\\share\\"}}));
    // Without the backslash behind the share there is no root to split from.
    EXPECT_EQ(Split(L"\\\\server"), (Segments{{L"\\\\server", L"\\\\server"}}));
    EXPECT_EQ(Split(L"\\\\server\\share"), (Segments{{L"\\\\server\\share", L"\\\\server\\share"}}));
}

TEST(SplitAddress, OtherTextIsOneSegmentAndNothingGivesNone) {
    EXPECT_EQ(Split(L"Documents"), (Segments{{L"Documents", L"Documents"}}));
    EXPECT_EQ(Split(L"\\Windows\\System32"), (Segments{{L"\\Windows\\System32", L"\\Windows\\System32"}}));
    EXPECT_EQ(Split(L"..\\up"), (Segments{{L"..\\up", L"..\\up"}}));
    EXPECT_TRUE(Split(L"").empty());
}

TEST(SplitAddress, NamespaceNamesShowTheirDisplayNameOrElseTheirText) {
    const std::wstring computer = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
    std::vector<std::wstring> asked;
    const auto found = [&asked](const std::wstring& name) {
        asked.push_back(name);
        return std::wstring(L"此电脑");
    };
    const std::vector<AddressSegment> named = SplitAddress(computer, found);
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].text, L"此电脑");
    EXPECT_EQ(named[0].target, computer);
    EXPECT_EQ(asked, std::vector<std::wstring>{computer});

    const auto nameless = [](const std::wstring&) { return std::wstring(); };
    const std::vector<AddressSegment> unnamed = SplitAddress(computer, nameless);
    ASSERT_EQ(unnamed.size(), 1u);
    EXPECT_EQ(unnamed[0].text, computer);
    EXPECT_EQ(unnamed[0].target, computer);
}

TEST(SegmentRows, SegmentsFollowEachOtherWithGapsFromTheAreasInset) {
    const std::vector<RECT> rects = LayOutSegments(RECT{190, 4, 992, 30}, {20, 40, 60}, 96);
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_RECT(rects[0], 194, 4, 216, 30);
    EXPECT_RECT(rects[1], 226, 4, 268, 30);
    EXPECT_RECT(rects[2], 278, 4, 340, 30);

    const std::vector<RECT> scaled = LayOutSegments(RECT{380, 8, 1900, 60}, {20, 40}, 192);
    ASSERT_EQ(scaled.size(), 2u);
    EXPECT_RECT(scaled[0], 388, 8, 412, 60);
    EXPECT_RECT(scaled[1], 432, 8, 476, 60);
}

TEST(SegmentRows, WrapWhenTheRowIsFull) {
    // 200 px wide: rows hold 194 px.
    const std::vector<RECT> rects = LayOutSegments(RECT{100, 10, 300, 62}, {98, 98, 80}, 96);
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_RECT(rects[0], 104, 10, 204, 36);
    EXPECT_RECT(rects[1], 104, 36, 204, 62);
    EXPECT_RECT(rects[2], 214, 36, 296, 62);
    // Ending exactly at the row's end still fits.
    const std::vector<RECT> exact = LayOutSegments(RECT{100, 10, 300, 62}, {98, 82}, 96);
    EXPECT_RECT(exact[1], 214, 10, 298, 36);
    EXPECT_RECT(LayOutSegments(RECT{100, 10, 300, 62}, {98, 83}, 96)[1], 104, 36, 189, 62);
}

TEST(SegmentRows, ASegmentWiderThanARowIsCutAndNeverLeavesTheFirstPlace) {
    const std::vector<RECT> first = LayOutSegments(RECT{100, 10, 300, 62}, {300, 10}, 96);
    EXPECT_RECT(first[0], 104, 10, 298, 36);
    EXPECT_RECT(first[1], 104, 36, 116, 62);

    const std::vector<RECT> later = LayOutSegments(RECT{100, 10, 300, 62}, {10, 300}, 96);
    EXPECT_RECT(later[0], 104, 10, 116, 36);
    EXPECT_RECT(later[1], 104, 36, 298, 62);

    // An area narrower than its reserve still leaves 4 DIPs per row.
    const std::vector<RECT> squeezed = LayOutSegments(RECT{100, 10, 105, 36}, {10, 10}, 96);
    EXPECT_RECT(squeezed[0], 104, 10, 108, 36);
    EXPECT_RECT(squeezed[1], 104, 36, 108, 62);
}

TEST(SegmentRows, NothingIsPlacedInAnEmptyArea) {
    EXPECT_TRUE(LayOutSegments(RECT{190, 4, 190, 30}, {20}, 96).empty());
    EXPECT_TRUE(LayOutSegments(RECT{190, 30, 400, 4}, {20}, 96).empty());
    EXPECT_TRUE(LayOutSegments(RECT{190, 4, 400, 30}, {}, 96).empty());
}

TEST(CommandBarHeight, IsOneRowOfControlsOrAsManyRowsAsTheSegmentsWrapInto) {
    EXPECT_EQ(CommandBarHeight(1000, 96, true, {}), 34);
    EXPECT_EQ(CommandBarHeight(1000, 144, false, {}), 51);
    EXPECT_EQ(CommandBarHeight(1000, 96, false, {100, 100, 100}), 34);
    EXPECT_EQ(CommandBarHeight(1000, 96, false, {400, 400}), 60);
    EXPECT_EQ(CommandBarHeight(1000, 96, false, {400, 400, 400, 400}), 112);
    EXPECT_EQ(CommandBarHeight(1000, 192, false, {400, 400}), 120);
}

TEST(CommandBarHeight, TheSearchBoxNarrowsTheRows) {
    // Rows hold 794 px without the search box and 620 px with it.
    EXPECT_EQ(CommandBarHeight(1000, 96, false, {300, 310}), 34);
    EXPECT_EQ(CommandBarHeight(1000, 96, true, {300, 310}), 60);
    EXPECT_EQ(CommandBarHeight(1000, 96, true, {300, 306}), 34);
}

TEST(CommandBarHeight, NarrowBarsKeep80DipsOfRow) {
    // The address area moves left over the buttons, so rows keep 74 px down to
    // where it reaches the margin.
    EXPECT_EQ(CommandBarHeight(250, 96, false, {30, 30}), 34);
    EXPECT_EQ(CommandBarHeight(250, 96, false, {30, 31}), 60);
    EXPECT_EQ(CommandBarHeight(50, 96, false, {30, 30}), 60);
}

}  // namespace
