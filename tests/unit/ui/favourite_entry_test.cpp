#include "ui/favourite_entry.h"

#include <gtest/gtest.h>

namespace {

TEST(FavouriteNames, FallBackToTheLastPartOfThePath) {
    EXPECT_EQ(FallbackFavouriteName(L"C:\\Users\\Ann\\Music"), L"Music");
    EXPECT_EQ(FallbackFavouriteName(L"D:/photos/2024"), L"2024");
    EXPECT_EQ(FallbackFavouriteName(L"\\\\server\\share\\"), L"share");
    EXPECT_EQ(FallbackFavouriteName(L"D:\\资料\\\\"), L"资料");
    EXPECT_EQ(FallbackFavouriteName(L"C:\\"), L"C:\\");
    EXPECT_EQ(FallbackFavouriteName(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"),
              L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
    EXPECT_EQ(FallbackFavouriteName(L"\\"), L"\\");
    EXPECT_EQ(FallbackFavouriteName(L""), L"");
}

}  // namespace
