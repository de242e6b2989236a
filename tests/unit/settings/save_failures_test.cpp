#include "settings/save_failures.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "config_folder_fixture.h"
#include "settings/line_file.h"

namespace {

class SaveFailuresTest : public ConfigFolderTest {};

TEST_F(SaveFailuresTest, TheFirstFailedSaveIsHandedOutOnceWithItsFileAndReason) {
    // Other tests fail saves on purpose.
    static_cast<void>(TakeSaveFailureToReport());
    const std::wstring tabs = ConfigFolder() + L"tabs.txt";
    const std::wstring favourites = ConfigFolder() + L"favorites.txt";
    ASSERT_TRUE(SaveLines(tabs, {L"C:\\old"}));
    EXPECT_FALSE(TakeSaveFailureToReport()) << "a save that worked was reported";

    ASSERT_TRUE(SaveLines(favourites, {L"C:\\old"}));
    for (const std::wstring& path : {tabs, favourites}) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    EXPECT_FALSE(SaveLines(tabs, {L"C:\\new"}));
    EXPECT_FALSE(SaveLines(favourites, {L"C:\\new"}));
    EXPECT_EQ(ReadLines(tabs), std::vector<std::wstring>{L"C:\\old"});

    const std::optional<SaveFailure> failure = TakeSaveFailureToReport();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->path, tabs);
    const std::wstring text = SaveFailureText(*failure);
    EXPECT_NE(text.find(tabs), std::wstring::npos);
    EXPECT_NE(text.find(L"只读"), std::wstring::npos);
    EXPECT_FALSE(TakeSaveFailureToReport()) << "handed out twice";
    for (const std::wstring& path : {tabs, favourites}) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // The system's words for the rest, without their line break.
    const std::wstring other = SaveFailureReason(ERROR_INVALID_NAME);
    ASSERT_FALSE(other.empty());
    EXPECT_NE(other.back(), L'\n');
}

}  // namespace
