#include <windows.h>

#include <filesystem>

#include "common/registry_export.h"
#include "takeover/command_lines.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"
#include "takeover_fixture.h"
#include "ui/version.h"

namespace {

using Lines = std::vector<std::wstring>;

std::wstring StringLine(const std::wstring& name, const std::wstring& text) {
    return L"  " + name + L" = type=1 bytes=" + std::to_wstring((text.size() + 1) * 2) + L" " + text + L"\\0";
}

std::wstring NumberLine(const std::wstring& name, DWORD number) {
    wchar_t hex[16];
    swprintf(hex, 16, L"%02x%02x%02x%02x", number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF,
             number >> 24);
    return L"  " + name + L" = type=4 bytes=4 " + hex;
}

TEST_F(TakeoverTest, EveryStartWritesTheUninstallEntry) {
    QuorlenProcess quorlen;
    ASSERT_NE(StartQuorlen(quorlen), nullptr);
    const auto fileSize = static_cast<DWORD>(std::filesystem::file_size(install.ExePath()));
    const std::wstring uninstall = BuildUninstallCommandLine();
    Lines expected = {
        L"[]",
        StringLine(L"DisplayIcon", Exe()),
        StringLine(L"DisplayName", L"Quorlen文件资源管理器"),
        StringLine(L"DisplayVersion", QUORLEN_VERSION_WIDE),
        NumberLine(L"EstimatedSize", fileSize / 1024),
        StringLine(L"InstallLocation", install.Folder().wstring()),
        NumberLine(L"NoModify", 1),
        NumberLine(L"NoRepair", 1),
        StringLine(L"Publisher", L"Quorlen"),
        StringLine(L"QuietUninstallString", uninstall),
        StringLine(L"UninstallString", uninstall),
    };
    EXPECT_EQ(ExportRegistryTree(HKEY_CURRENT_USER, kUninstallEntryKey), expected);
}

// The message box the uninstall command shows, once it is there.
HWND WaitForMessageBox(const QuorlenProcess& process) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            box = FindWindowW(L"#32770", L"Quorlen文件资源管理器");
            DWORD owner = 0;
            if (box) GetWindowThreadProcessId(box, &owner);
            if (owner != process.Id()) box = nullptr;
            return box != nullptr || !process.Running();
        },
        15000);
    return box;
}

std::wstring MessageText(HWND box) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

class TakenOverTest : public TakeoverTest {
protected:
    // Takes over through a first start and exit, so the keys hold the fallback form.
    void SetUp() override {
        TakeoverTest::SetUp();
        if (HasFatalFailure()) return;
        WriteTakeoverSetting(true);
        before = Classes();
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        CloseQuorlen(quorlen, window);
        ASSERT_EQ(CommandOf(TakeoverKeys[0].key), BuildFallbackCommand(Exe(), TakeoverKeys[0].argumentTemplate));
    }

    Lines before;
};

TEST_F(TakenOverTest, UninstallAnsweredNoChangesNothing) {
    const Lines classes = Classes();
    const Lines backup = Backup();
    const Lines entry = ExportRegistryTree(HKEY_CURRENT_USER, kUninstallEntryKey);
    ASSERT_FALSE(entry.empty());

    QuorlenProcess uninstall;
    ASSERT_TRUE(uninstall.Start(install, L"/uninstall"));
    const HWND question = WaitForMessageBox(uninstall);
    ASSERT_NE(question, nullptr);
    EXPECT_NE(MessageText(question).find(L"是否继续？"), std::wstring::npos);
    PostMessageW(question, WM_COMMAND, IDNO, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(uninstall.WaitForExit(15000, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(Classes(), classes);
    EXPECT_EQ(Backup(), backup);
    EXPECT_EQ(ExportRegistryTree(HKEY_CURRENT_USER, kUninstallEntryKey), entry);
}

TEST_F(TakenOverTest, UninstallAnsweredYesRestoresThenRestartsExplorerOnOk) {
    QuorlenProcess uninstall;
    ASSERT_TRUE(uninstall.Start(install, L"/uninstall"));
    const HWND question = WaitForMessageBox(uninstall);
    ASSERT_NE(question, nullptr);
    PostMessageW(question, WM_COMMAND, IDYES, 0);

    // The closing box comes once everything is undone; Explorer restarts after it.
    HWND done = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            done = WaitForMessageBox(uninstall);
            return done != nullptr && done != question && IsWindow(done);
        },
        15000));
    EXPECT_NE(MessageText(done).find(L"已取消接管"), std::wstring::npos);
    EXPECT_EQ(Classes(), before);
    EXPECT_TRUE(ExportRegistryTree(HKEY_CURRENT_USER, kUninstallEntryKey).empty());
    EXPECT_TRUE(ChildProcesses(uninstall.Id(), L"explorer.exe").empty());

    PostMessageW(done, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !ChildProcesses(uninstall.Id(), L"explorer.exe").empty(); }, 15000));
    DWORD exitCode = 1;
    ASSERT_TRUE(uninstall.WaitForExit(15000, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
