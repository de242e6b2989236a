#include <windows.h>

#include <algorithm>

#include "common/registry_export.h"
#include "takeover/command_lines.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"
#include "takeover_fixture.h"

namespace {

using Lines = std::vector<std::wstring>;

bool AllCommandsAre(const std::wstring& exe, std::wstring (*form)(const std::wstring&, const std::wstring&)) {
    return std::all_of(TakeoverKeys.begin(), TakeoverKeys.end(), [&](const TakeoverKey& row) {
        const std::optional<RegistryString> command = ReadClassesDefault(row.key);
        return command && command->text == form(exe, row.argumentTemplate) && command->type == REG_EXPAND_SZ;
    });
}

TEST_F(TakeoverTest, OnExitRestartAndUninstallLeaveTheRegistryAsBeforeTheFirstStart) {
    WriteTakeoverSetting(true);
    const Lines before = Classes();
    Lines firstBackup;
    {
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(AllCommandsAre(Exe(), BuildDirectCommand));
        // Taking over for the first time restarts Explorer, which Quorlen starts anew.
        EXPECT_FALSE(ChildProcesses(quorlen.Id(), L"explorer.exe").empty());
        firstBackup = Backup();
        EXPECT_EQ(firstBackup.size(), 25u);
        CloseQuorlen(quorlen, window);
    }
    EXPECT_TRUE(AllCommandsAre(Exe(), BuildFallbackCommand)) << "the exit leaves the fallback form";
    {
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(AllCommandsAre(Exe(), BuildDirectCommand));
        EXPECT_TRUE(ChildProcesses(quorlen.Id(), L"explorer.exe").empty()) << "the keys were ours already";
        EXPECT_TRUE(ChildProcesses(quorlen.Id(), L"taskkill.exe").empty());
        EXPECT_EQ(Backup(), firstBackup);
        CloseQuorlen(quorlen, window);
    }

    QuorlenProcess uninstall;
    ASSERT_TRUE(uninstall.Start(install, L"/uninstall /silent"));
    DWORD exitCode = 1;
    ASSERT_TRUE(uninstall.WaitForExit(30000, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(Classes(), before);
    EXPECT_EQ(Backup(), firstBackup) << "the backup key stays";
    EXPECT_TRUE(ExportRegistryTree(HKEY_CURRENT_USER, kUninstallEntryKey).empty());
    const Lines settings = ReadConfigLines(install, L"settings.txt");
    EXPECT_NE(std::find(settings.begin(), settings.end(), L"Takeover=0"), settings.end());
}

TEST_F(TakeoverTest, AVanishedExecutableSwitchesTheRunningTakeoverToTheFallbackForm) {
    WriteTakeoverSetting(true);
    QuorlenProcess quorlen;
    ASSERT_NE(StartQuorlen(quorlen), nullptr);
    ASSERT_TRUE(AllCommandsAre(Exe(), BuildDirectCommand));

    // A running program can be moved away, as an update or a user would.
    const std::wstring moved = Exe() + L".moved";
    ASSERT_TRUE(MoveFileW(Exe().c_str(), moved.c_str()));
    EXPECT_TRUE(WaitUntil([&] { return AllCommandsAre(Exe(), BuildFallbackCommand); }, 15000));
    quorlen.Kill();
}

TEST_F(TakeoverTest, TheEndOfTheSessionLeavesTheFallbackForm) {
    WriteTakeoverSetting(true);
    QuorlenProcess quorlen;
    const HWND window = StartQuorlen(quorlen);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(AllCommandsAre(Exe(), BuildDirectCommand));

    // At logoff the system ends the program after this message, without closing it.
    LRESULT answer = 0;
    ASSERT_TRUE(SendWithTimeout(window, WM_ENDSESSION, TRUE, 0, answer, 15000));
    EXPECT_TRUE(AllCommandsAre(Exe(), BuildFallbackCommand));
    quorlen.Kill();
}

}  // namespace
