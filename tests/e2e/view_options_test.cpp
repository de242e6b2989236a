#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "common/registry_set_aside.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"

namespace {

constexpr wchar_t kAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr int kDetailsItem = 4104;
constexpr int kFileExtensionsItem = 4112;

bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::optional<DWORD> AdvancedValue(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kAdvancedKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

// Two restored tabs, with the shell's Advanced key to itself for the test.
class ViewOptionsTest : public TabsTest {
protected:
    void PrepareConfig() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        advancedAside.emplace(HKEY_CURRENT_USER, kAdvancedKey);
        ASSERT_TRUE(advancedAside->Ready());
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kAdvancedKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", {folders[0], folders[1]}));
    }

    void SetUp() override {
        TabsTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(WaitForTabCount(2));
        ASSERT_TRUE(WaitUntil([&] { return WindowText(strip) == L"alpha"; }, 15000));
    }

    std::optional<RegistryKeySetAside> advancedAside;
};

TEST_F(ViewOptionsTest, DetailsAppliesToTheActiveTabAndIsRemembered) {
    ASSERT_TRUE(PostMessageW(window, WM_COMMAND, kDetailsItem, 0));
    EXPECT_TRUE(WaitUntil([&] { return HasLine(ReadConfigLines(install, L"settings.txt"), L"ViewMode=4"); }, 10000));
    EXPECT_TRUE(HasLine(ReadConfigLines(install, L"settings.txt"), L"ViewIconSize=16"));
    EXPECT_TRUE(WaitUntil(
        [&] {
            HWND list = FindDescendant(window, L"SysListView32");
            return list && IsWindowVisible(list) &&
                   (GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
        },
        10000))
        << "the active tab's view is not in details";
    // Only the settings changed: the saved tabs are as they were.
    EXPECT_TRUE(SamePaths(ReadConfigLines(install, L"tabs.txt"), {folders[0], folders[1]}));
}

TEST_F(ViewOptionsTest, FileExtensionsRestartTheProgramWithTheOptionFlipped) {
    const DWORD oldProcess = quorlen.Id();
    ASSERT_TRUE(PostMessageW(window, WM_COMMAND, kFileExtensionsItem, 0));

    DWORD exitCode = 0;
    ASSERT_TRUE(quorlen.WaitForExit(20000, exitCode)) << "the old process did not end";
    EXPECT_EQ(AdvancedValue(L"HideFileExt"), std::optional<DWORD>(1));
    EXPECT_TRUE(HasLine(ReadConfigLines(install, L"settings.txt"), L"ShowFileExt=0"));

    HWND restarted = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND candidate : VisibleMainWindows(0)) {
                DWORD process = 0;
                GetWindowThreadProcessId(candidate, &process);
                if (process != oldProcess) restarted = candidate;
            }
            return restarted != nullptr;
        },
        30000))
        << "no new process showed a window";
    HWND newStrip = GetDlgItem(restarted, 7);
    EXPECT_TRUE(WaitUntil([&] { return Query(newStrip, kTabCount) == 2; }, 20000)) << "the tabs were not restored";
}

}  // namespace
