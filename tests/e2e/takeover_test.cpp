#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "common/registry_export.h"
#include "common/temp_folder.h"
#include "driver/window_queries.h"
#include "settings/line_file.h"
#include "takeover/command_lines.h"
#include "takeover/launcher_file.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_documents.h"
#include "takeover/takeover_keys.h"
#include "takeover/takeover_record.h"
#include "takeover_fixture.h"
#include "ui/handles.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::wstring>;

constexpr wchar_t kOtherManager[] = L"\"C:\\FM\\fm.exe\" \"%1\"";

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void SetClassesValue(const std::wstring& subkey, const wchar_t* name, const std::wstring& text) {
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ClassesPath(subkey).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(WriteStringValue(key.get(), name, text, REG_SZ), ERROR_SUCCESS);
}

// Another file manager that holds the folder's open command, with the empty
// delegate such programs set so that the shell runs their command.
void SeedAnotherFileManager() {
    SetClassesValue(L"Directory\\shell\\open\\command", nullptr, kOtherManager);
    SetClassesValue(L"Directory\\shell\\open\\command", kDelegateExecuteValue, L"");
}

std::wstring EntryValue(const wchar_t* name) {
    UniqueKey entry;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallEntryKey, 0, KEY_READ, entry.put()) != ERROR_SUCCESS) return {};
    const std::optional<RegistryString> value = ReadStringValue(entry.get(), name);
    return value ? value->text : std::wstring();
}

std::wstring RecordedProgram() {
    const std::optional<TakeoverRecord> record = ReadTakeoverRecord();
    return record ? record->program : std::wstring();
}

fs::path BuiltLauncher() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path() / L"QuorlenLauncher.exe";
}

TEST_F(TakeoverTest, TakenOverOnAQuestionAndUndoneByTheEntrysOwnCommandWithQuorlenGone) {
    ASSERT_NO_FATAL_FAILURE(SeedAnotherFileManager());
    const Lines before = Classes();
    {
        QuorlenProcess quorlen;
        const HWND window = TakeOver(quorlen);
        ASSERT_NE(window, nullptr);
        // Written out from inside Quorlen.exe, with the documents beside it.
        EXPECT_EQ(FileBytes(LauncherPath()), FileBytes(BuiltLauncher()));
        const fs::path launcherFolder = LauncherFolder();
        Lines expectedGuide = RestoreGuideLines(LauncherPath());
        std::erase(expectedGuide, L"");
        EXPECT_TRUE(WaitUntil(
            [&] { return ReadLines((launcherFolder / kRestoreGuideFileName).wstring()) == expectedGuide; }, 15000))
            << "the guide beside the launcher was not written";
        EXPECT_TRUE(WaitUntil([&] { return fs::exists(install.ConfigFile(kTakeoverReportFileName)); }, 15000));
        EXPECT_TRUE(fs::exists(launcherFolder / kTakeoverReportFileName));
        EXPECT_TRUE(ChildProcesses(quorlen.Id(), L"taskkill.exe").empty());
        EXPECT_TRUE(ChildProcesses(quorlen.Id(), L"explorer.exe").empty());
        ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
    }
    const std::wstring uninstall = EntryValue(L"QuietUninstallString");
    ASSERT_NE(uninstall.find(kLauncherFileName), std::wstring::npos) << NarrowForTest(uninstall);
    ASSERT_TRUE(DeleteFileW(Exe().c_str()));

    DWORD exitCode = 1;
    ASSERT_TRUE(RunToEnd(uninstall, 30000, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(Classes(), before) << "the other file manager's keys did not come back as they were";
    EXPECT_TRUE(Record().empty());
    EXPECT_TRUE(EntryValue(L"DisplayName").empty());
    EXPECT_TRUE(SettingIs(false)) << "the undo left the takeover switched on for the next start";
    EXPECT_FALSE(fs::exists(install.ConfigFile(kTakeoverReportFileName)));
}

TEST_F(TakeoverTest, FoldersOpenThroughTheLauncherWhileQuorlenRunsAndInExplorerOnceItIsGone) {
    TempFolder opened;
    const std::set<DWORD> consoles = [] {
        std::set<DWORD> both = ProcessesNamed(L"cmd.exe");
        both.merge(ProcessesNamed(L"conhost.exe"));
        return both;
    }();
    const auto noConsoleStarted = [&] {
        for (const wchar_t* image : {L"cmd.exe", L"conhost.exe"}) {
            for (DWORD id : ProcessesNamed(image)) {
                if (!consoles.contains(id)) return false;
            }
        }
        return true;
    };
    {
        QuorlenProcess quorlen;
        const HWND window = TakeOver(quorlen);
        ASSERT_NE(window, nullptr);
        const HWND strip = FindDescendant(window, L"Quorlen.TabStrip");
        ASSERT_NE(strip, nullptr);
        const LRESULT tabs = Query(strip, kTabCount);
        QuorlenProcess run;
        ASSERT_TRUE(RunStoredCommand(run, L"Folder\\shell\\open\\command", opened.Path().wstring()));
        EXPECT_TRUE(WaitUntil([&] { return Query(strip, kTabCount) == tabs + 1; }, 30000))
            << "the running Quorlen did not open the folder in a tab";
        DWORD exitCode = 1;
        EXPECT_TRUE(run.WaitForExit(30000, exitCode));
        EXPECT_EQ(exitCode, 0u);
        // Crashed, then deleted: nothing was switched at exit.
        quorlen.Kill();
    }
    ASSERT_TRUE(WaitUntil([&] { return DeleteFileW(Exe().c_str()) != FALSE; }, 15000));

    const std::set<DWORD> explorers = ProcessesNamed(L"explorer.exe");
    // Each run's job ends what it started: the runs stay until their folders are seen open.
    std::vector<std::unique_ptr<QuorlenProcess>> runs;
    for (const wchar_t* key : {L"Directory\\shell\\open\\command", L"Drive\\shell\\open\\command"}) {
        SCOPED_TRACE(NarrowForTest(key));
        QuorlenProcess& run = *runs.emplace_back(std::make_unique<QuorlenProcess>());
        ASSERT_TRUE(RunStoredCommand(run, key, opened.Path().wstring()));
        // The first time only, the user hears that Quorlen is gone.
        if (key == std::wstring(L"Directory\\shell\\open\\command")) {
            EXPECT_NE(Answer(run, L"找不到 Quorlen", IDNO), L"");
        }
        DWORD exitCode = 1;
        EXPECT_TRUE(run.WaitForExit(30000, exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_TRUE(noConsoleStarted()) << "a console window was started";
    }
    std::set<DWORD> started;
    EXPECT_TRUE(WaitUntil(
        [&] {
            started.clear();
            for (DWORD id : ProcessesNamed(L"explorer.exe")) {
                if (!explorers.contains(id)) started.insert(id);
            }
            return started.size() >= 2;
        },
        15000))
        << "the folders did not open in explorer.exe";
    EXPECT_TRUE(noConsoleStarted()) << "a console window was started";
    EXPECT_TRUE(AllCommandsStartTheLauncher()) << "answering no must change nothing";
    EndProcesses(started);
}

TEST_F(TakeoverTest, AKeyThatCannotBeWrittenLeavesEveryKeyAsItWasAndIsNamed) {
    ASSERT_NO_FATAL_FAILURE(SeedAnotherFileManager());
    ASSERT_TRUE(CreateVolatileKey(HKEY_CURRENT_USER, ClassesPath(L"Drive\\shell\\open")));
    const Lines before = Classes();
    WriteTakeoverSetting(true);
    QuorlenProcess quorlen;
    const HWND window = StartQuorlen(quorlen);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(Answer(quorlen, L"是否现在接管", IDYES), L"");
    const std::wstring error = Answer(quorlen, L"安全软件", IDOK);
    EXPECT_NE(error.find(L"Drive\\shell\\open\\command"), std::wstring::npos) << NarrowForTest(error);
    EXPECT_EQ(Classes(), before);
    EXPECT_TRUE(Record().empty());
    EXPECT_TRUE(WaitUntil([&] { return SettingIs(false); }, 15000));
    ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
}

// Nothing is taken over, and Explorer never ended, without the user's word:
// not for a config that wants a takeover this profile has none of, nor after
// another program took the keys.
TEST_F(TakeoverTest, KeepingWhatAnotherProgramHoldsChangesNothingAndTurnsTheSwitchOff) {
    ASSERT_NO_FATAL_FAILURE(SeedAnotherFileManager());
    const Lines original = Classes();
    {
        WriteTakeoverSetting(true);
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        EXPECT_NE(Answer(quorlen, L"C:\\FM\\fm.exe", IDNO).find(L"是否现在接管"), std::wstring::npos);
        EXPECT_TRUE(WaitUntil([&] { return SettingIs(false); }, 15000));
        ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
        EXPECT_EQ(Classes(), original);
        EXPECT_TRUE(Record().empty());
    }
    {
        QuorlenProcess quorlen;
        const HWND window = TakeOver(quorlen);
        ASSERT_NE(window, nullptr);
        ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
    }
    SetClassesValue(L"Folder\\shell\\open\\command", nullptr, L"\"D:\\Other\\other.exe\" \"%1\"");
    const Lines taken = Classes();
    const Lines record = Record();
    {
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        EXPECT_NE(Answer(quorlen, L"D:\\Other\\other.exe", IDNO), L"");
        EXPECT_TRUE(WaitUntil([&] { return SettingIs(false); }, 15000));
        EXPECT_TRUE(ChildProcesses(quorlen.Id(), L"taskkill.exe").empty());
        EXPECT_TRUE(ChildProcesses(quorlen.Id(), L"explorer.exe").empty());
        ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
    }
    EXPECT_EQ(Classes(), taken);
    EXPECT_EQ(Record(), record);
}

TEST_F(TakeoverTest, AMovedCopyIsFollowedSilentlyAndTwoCopiesDoNotUndoEachOther) {
    {
        QuorlenProcess quorlen;
        const HWND window = TakeOver(quorlen);
        ASSERT_NE(window, nullptr);
        ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
    }
    const Lines taken = Classes();
    TempFolder elsewhere(ProgramsFolder());
    const fs::path moved = elsewhere.Path() / L"Quorlen.exe";
    ASSERT_TRUE(MoveFileW(Exe().c_str(), moved.c_str()));
    fs::copy(install.Folder() / L"config", elsewhere.Path() / L"config", fs::copy_options::recursive);
    const auto startMoved = [&](QuorlenProcess& quorlen) {
        EXPECT_TRUE(quorlen.StartCommandLine(L"\"" + moved.wstring() + L"\"", elsewhere.Path().wstring(), 0));
        return quorlen.WaitForMainWindow();
    };
    {
        QuorlenProcess quorlen;
        const HWND window = startMoved(quorlen);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return RecordedProgram() == moved.wstring(); }, 15000))
            << "the record did not follow the moved program";
        EXPECT_EQ(FindMessageBox(quorlen.Id()), nullptr);
        ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
    }
    EXPECT_EQ(Classes(), taken) << "following a move changes no key: they start the launcher";

    // The first copy comes back beside the moved one, its config still wanting the takeover.
    ASSERT_TRUE(CopyFileW(moved.c_str(), Exe().c_str(), TRUE));
    ASSERT_TRUE(SettingIs(true));
    {
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        EXPECT_NE(Answer(quorlen, moved.wstring(), IDNO).find(L"另一个 Quorlen 副本"), std::wstring::npos);
        EXPECT_TRUE(WaitUntil([&] { return SettingIs(false); }, 15000));
        ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
    }
    {
        QuorlenProcess quorlen;
        const HWND window = startMoved(quorlen);
        ASSERT_NE(window, nullptr);
        ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
    }
    EXPECT_EQ(RecordedProgram(), moved.wstring());
    EXPECT_EQ(Classes(), taken);
}

}  // namespace
