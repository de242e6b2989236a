#include <windows.h>

#include <algorithm>
#include <fstream>

#include "common/temp_folder.h"
#include "takeover/command_lines.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"
#include "takeover_fixture.h"

// The commands the takeover leaves behind, run by the system's own programs
// rather than by the shell, which the test cannot drive.

namespace {

using Lines = std::vector<std::wstring>;

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

bool NoCommandKeyLeft() {
    return std::all_of(TakeoverKeys.begin(), TakeoverKeys.end(),
                       [](const TakeoverKey& row) { return !OpenClassesKey(row.key, KEY_READ); });
}

class TakenOverAndExitedTest : public TakeoverTest {
protected:
    void SetUp() override {
        TakeoverTest::SetUp();
        if (HasFatalFailure()) return;
        WriteTakeoverSetting(true);
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        CloseQuorlen(quorlen, window);
    }

    // The guide's lines as the program wrote them.
    [[nodiscard]] Lines Guide() const {
        std::ifstream in(install.Folder() / L"doc" / L"手动恢复系统资源管理器打开文件夹.txt", std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::wstring text(bytes.size() / 2, L'\0');
        memcpy(text.data(), bytes.data(), text.size() * 2);
        Lines lines;
        size_t start = 1;  // after the byte-order mark
        for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }
};

TEST_F(TakenOverAndExitedTest, FallbackCommandStartsTheProgramWhileItExistsAndExplorerOnceItIsGone) {
    const std::optional<std::wstring> stored = CommandOf(L"Folder\\shell\\open\\command");
    ASSERT_EQ(stored, BuildFallbackCommand(Exe(), L"\"%1\""));
    TempFolder folder;
    const std::wstring command = ReplaceAll(*stored, L"%1", folder.Path().wstring());
    ASSERT_TRUE(VisibleMainWindows(0).empty());

    {
        QuorlenProcess open;
        ASSERT_TRUE(open.StartCommandLine(command));
        // No instance runs to hand the folder to, so a new one opens its window.
        EXPECT_TRUE(WaitUntil([] { return !VisibleMainWindows(0).empty(); }, 30000));
    }
    ASSERT_TRUE(WaitUntil([] { return VisibleMainWindows(0).empty(); }, 15000));

    ASSERT_TRUE(DeleteFileW(Exe().c_str()));
    const std::set<DWORD> explorers = ProcessesNamed(L"explorer.exe");
    QuorlenProcess open;
    ASSERT_TRUE(open.StartCommandLine(command));
    DWORD exitCode = 1;
    EXPECT_TRUE(open.WaitForExit(30000, exitCode));
    std::set<DWORD> started;
    EXPECT_TRUE(WaitUntil(
        [&] {
            started.clear();
            for (DWORD id : ProcessesNamed(L"explorer.exe")) {
                if (!explorers.contains(id)) started.insert(id);
            }
            return !started.empty();
        },
        15000))
        << "the folder should open in explorer.exe";
    EXPECT_TRUE(VisibleMainWindows(0).empty());
    EndProcesses(started);
}

TEST_F(TakenOverAndExitedTest, TheGuidesRegDeleteLinesRemoveTheTakeover) {
    const Lines guide = Guide();
    ASSERT_EQ(guide.size(), 67u);
    int commands = 0;
    for (const std::wstring& line : guide) {
        if (!line.starts_with(L"reg delete ")) continue;
        ++commands;
        DWORD exitCode = 1;
        ASSERT_TRUE(RunToEnd(line, 30000, exitCode)) << NarrowForTest(line);
        EXPECT_EQ(exitCode, 0u) << NarrowForTest(line);
    }
    EXPECT_EQ(commands, 10);
    EXPECT_TRUE(NoCommandKeyLeft());
    EXPECT_FALSE(OpenClassesKey(kApplicationKey, KEY_READ));
}

TEST_F(TakenOverAndExitedTest, TheGuidesBatchFileRemovesTheTakeover) {
    const Lines guide = Guide();
    ASSERT_EQ(guide.size(), 67u);
    ASSERT_EQ(guide[50], L"@echo off");
    TempFolder folder;
    const std::filesystem::path batch = folder.Path() / L"restore.bat";
    {
        std::ofstream out(batch, std::ios::binary);
        for (size_t i = 50; i <= 51; ++i) {
            for (wchar_t c : guide[i]) out.put(static_cast<char>(c));  // the batch lines are ASCII
            out << "\r\n";
        }
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(RunToEnd(L"cmd.exe /c \"" + batch.wstring() + L"\"", 60000, exitCode));
    EXPECT_TRUE(NoCommandKeyLeft());
    EXPECT_FALSE(OpenClassesKey(kApplicationKey, KEY_READ));
}

}  // namespace
