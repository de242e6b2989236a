#include "settings/config_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "config_folder_fixture.h"

namespace {

TEST(ConfigDir, IsTheFolderConfigBesideTheExecutable) {
    EXPECT_EQ(ConfigFolderBeside(L"C:\\Program Files\\Quorlen"), L"C:\\Program Files\\Quorlen\\config\\");
    EXPECT_EQ(ConfigFolderBeside(L"C:\\"), L"C:\\config\\");
    EXPECT_EQ(ConfigFolderBeside(L"\\\\server\\share\\工具"), L"\\\\server\\share\\工具\\config\\");
}

using ConfigDirOnDisk = ConfigFolderTest;

TEST_F(ConfigDirOnDisk, FormingAPathCreatesTheFolder) {
    const std::wstring nested = ConfigFolder() + L"config\\";
    OverrideConfigDir(nested);
    EXPECT_EQ(ConfigFilePath(L"tabs.txt"), nested + L"tabs.txt");
    const DWORD attributes = GetFileAttributesW(nested.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
