#pragma once

#include <gtest/gtest.h>

#include <string>

#include "common/temp_folder.h"
#include "settings/config_dir.h"
#include "settings/save_queue.h"

// Points the configuration folder at a fresh temporary folder for one test.
class ConfigFolderTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.Path().empty());
        OverrideConfigDir(ConfigFolder());
    }
    // A save still queued would land in the next test's folder, or in none.
    void TearDown() override {
        FlushSaves();
        OverrideConfigDir(L"");
    }

    // With its trailing backslash, as ConfigDir gives it.
    [[nodiscard]] std::wstring ConfigFolder() const { return folder.Path().wstring() + L"\\"; }

    TempFolder folder;
};
