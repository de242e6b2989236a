#include "settings/favourite_list.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<std::wstring>;

TEST(Favourites, AFolderIsAddedOnceWhateverItsCaseButNotNormalised) {
    List favourites{L"c:\\data"};
    EXPECT_FALSE(AddToFavourites(favourites, L"C:\\Data"));
    EXPECT_FALSE(AddToFavourites(favourites, L""));
    // A trailing backslash makes another text, and the list keeps texts as typed.
    EXPECT_TRUE(AddToFavourites(favourites, L"C:\\Data\\"));
    EXPECT_TRUE(AddToFavourites(favourites, L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"));
    EXPECT_EQ(favourites, (List{L"c:\\data", L"C:\\Data\\", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"}));
}

TEST(Favourites, TheListStopsAtThirtyTwo) {
    List favourites;
    for (int i = 0; i < 32; ++i) EXPECT_TRUE(AddToFavourites(favourites, L"D:\\f" + std::to_wstring(i)));
    EXPECT_FALSE(AddToFavourites(favourites, L"D:\\one more"));
    EXPECT_EQ(favourites.size(), 32u);
}

TEST(Favourites, RemovingTakesOnlyValidIndexes) {
    List favourites{L"A", L"B", L"C"};
    EXPECT_FALSE(RemoveFromFavourites(favourites, -1));
    EXPECT_FALSE(RemoveFromFavourites(favourites, 3));
    EXPECT_TRUE(RemoveFromFavourites(favourites, 1));
    EXPECT_EQ(favourites, (List{L"A", L"C"}));
}

TEST(Favourites, AMoveLandsWithinTheListAndOnlyAMoveElsewhereChangesIt) {
    List favourites{L"A", L"B", L"C"};
    EXPECT_FALSE(MoveWithinFavourites(favourites, 3, 0));
    EXPECT_FALSE(MoveWithinFavourites(favourites, 2, 7));
    EXPECT_TRUE(MoveWithinFavourites(favourites, 0, 7));
    EXPECT_EQ(favourites, (List{L"B", L"C", L"A"}));
    EXPECT_TRUE(MoveWithinFavourites(favourites, 2, -1));
    EXPECT_EQ(favourites, (List{L"A", L"B", L"C"}));
}

}  // namespace
