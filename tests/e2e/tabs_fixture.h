#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"

// Folders of the test's own, so that every tab shows a real, distinct folder.
class TabsTest : public StartedQuorlenTest {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"alpha", L"beta", L"资料"}) {
            folders.push_back((data.Path() / name).wstring());
            std::filesystem::create_directories(folders.back());
        }
        StartedQuorlenTest::SetUp();
        if (HasFatalFailure()) return;
        strip = GetDlgItem(window, 7);
        ASSERT_NE(strip, nullptr) << "no tab strip";
    }

    bool WaitForTabCount(LRESULT count) {
        return WaitUntil([&] { return Query(strip, kTabCount) == count; }, 20000);
    }

    bool WaitForSavedTabs(const std::vector<std::wstring>& expected) {
        return WaitUntil([&] { return SamePaths(ReadConfigLines(install, L"tabs.txt"), expected); }, 20000);
    }

    bool WaitForHistory(const std::vector<std::wstring>& expected) {
        return WaitUntil([&] { return SamePaths(ReadConfigLines(install, L"history.txt"), expected); }, 20000);
    }

    TempFolder data;
    std::vector<std::wstring> folders;
    HWND strip = nullptr;
};
