#include "ui/clipboard.h"
#include "ui/paths.h"
#include "ui/text.h"

#include <gtest/gtest.h>

#include "common/private_prefix.h"

namespace {

// Whether the paths name one folder; the key for finding a path among many
// must agree.
bool Same(const std::wstring& a, const std::wstring& b) {
    const bool same = SamePath(a, b);
    EXPECT_EQ(same, PathKey(a) == PathKey(b)) << NarrowForTest(a) << " and " << NarrowForTest(b);
    return same;
}

TEST(CopiedPaths, OnlyPathsOnADiskOrAShareAreCopiedEachQuotedOnALine) {
    EXPECT_EQ(QuotedPathLines({L"C:\\a b", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"\\\\srv\\s\\x.txt",
                               L"::{645FF040-5081-101B-9F08-00AA002F954E}\\::{00000000-0000-0000-0000-000000000001}",
                               L"D:\\文件.txt"}),
              L"\"C:\\a b\"\r\n\"\\\\srv\\s\\x.txt\"\r\n\"D:\\文件.txt\"");
    EXPECT_EQ(QuotedPathLines({L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L""}), L"") << "nothing to copy";
}

TEST(SamePath, IgnoresLetterCaseAndTrailingBackslashes) {
    EXPECT_TRUE(Same(L"C:\\Data\\", L"C:\\data"));
    EXPECT_TRUE(Same(L"c:\\DATA", L"C:\\Data\\\\\\"));
    EXPECT_TRUE(Same(L"\\\\Server\\Share\\", L"\\\\server\\share"));
    EXPECT_TRUE(Same(L"C:\\资料\\", L"C:\\资料"));
    EXPECT_TRUE(Same(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"::{20d04fe0-3aea-1069-a2d8-08002b30309d}"));
}

TEST(SamePath, TellsDifferentFoldersApart) {
    EXPECT_FALSE(Same(L"C:\\Data", L"C:\\Data2"));
    EXPECT_FALSE(Same(L"C:\\Data", L"C:\\Data\\Sub"));
    EXPECT_FALSE(Same(L"C:\\Data", L"D:\\Data"));
    EXPECT_FALSE(Same(L"C:\\Data", L""));
}

TEST(SamePath, DriveRootKeepsItsBackslash) {
    EXPECT_TRUE(Same(L"C:\\", L"c:\\"));
    EXPECT_TRUE(Same(L"C:\\\\\\", L"C:\\"));
    // "C:" alone names the current folder of drive C, not its root.
    EXPECT_FALSE(Same(L"C:\\", L"C:"));
    EXPECT_FALSE(Same(L"C:\\\\", L"C:"));
}

TEST(WithoutTrailingBackslashes, StopsAtThreeCharacters) {
    EXPECT_EQ(WithoutTrailingBackslashes(L"C:\\Data\\\\"), L"C:\\Data");
    EXPECT_EQ(WithoutTrailingBackslashes(L"C:\\\\"), L"C:\\");
    EXPECT_EQ(WithoutTrailingBackslashes(L"C:\\"), L"C:\\");
    EXPECT_EQ(WithoutTrailingBackslashes(L"A\\\\\\"), L"A\\\\");
    EXPECT_EQ(WithoutTrailingBackslashes(L"C:\\Data"), L"C:\\Data");
}

TEST(LastPathComponent, NamesTheFolderForTheSearchCue) {
    EXPECT_EQ(LastPathComponent(L"C:\\Users\\Public"), L"Public");
    // A drive root and a name without separators are shown whole.
    EXPECT_EQ(LastPathComponent(L"C:\\"), L"C:\\");
    EXPECT_EQ(LastPathComponent(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"),
              L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
    EXPECT_EQ(LastPathComponent(L""), L"");
}

TEST(TrimBlanks, RemovesSpacesAndTabsAtBothEndsOnly) {
    EXPECT_EQ(TrimBlanks(L" \t C:\\Windows \t"), L"C:\\Windows");
    EXPECT_EQ(TrimBlanks(L"C:\\Program Files"), L"C:\\Program Files");
    EXPECT_EQ(TrimBlanks(L" \t \t"), L"");
    EXPECT_EQ(TrimBlanks(L"\nC:\\x"), L"\nC:\\x");
}

}  // namespace
