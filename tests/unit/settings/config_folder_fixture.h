#pragma once

#include <gtest/gtest.h>

#include <string>

#include "common/temp_folder.h"
#include "settings/config_dir.h"

// Points the configuration folder at a fresh temporary folder for one test.
class ConfigFolderTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.Path().empty());
        OverrideConfigDir(ConfigFolder());
    }
    void TearDown() override { OverrideConfigDir(L""); }

    // With its trailing backslash, as ConfigDir gives it.
    [[nodiscard]] std::wstring ConfigFolder() const { return folder.Path().wstring() + L"\\"; }

    TempFolder folder;
};
