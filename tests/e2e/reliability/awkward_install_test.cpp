#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/reliability_tally.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "settings/line_file.h"
#include "takeover/launcher_file.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"
#include "takeover_fixture.h"
#include "ui/handles.h"

// The program may be unpacked into a folder whose name means something to the
// shell or a command interpreter, and the folders opened may have such names.
// The stored commands start the launcher with the opened folder and nothing
// else, and the launcher starts this program with it.

namespace {

namespace fs = std::filesystem;

std::vector<std::wstring> Arguments(const std::wstring& commandLine) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine.c_str(), &count);
    if (argv == nullptr) return {};
    std::vector<std::wstring> arguments(argv, argv + count);
    LocalFree(argv);
    return arguments;
}

std::optional<std::wstring> EntryText(const wchar_t* name) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallEntryKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
    const std::optional<RegistryString> value = ReadStringValue(key.get(), name);
    if (!value) return {};
    return value->text;
}

class ReliabilityAwkwardInstallTest : public TakeoverTest {
protected:
    void SetUp() override {
        TakeoverTest::SetUp();
        if (HasFatalFailure()) return;
        folder = install.Folder() / L"a&b ^c !d! (e) 50% 100% 文件";
        fs::create_directories(folder / L"config");
        ASSERT_TRUE(fs::copy_file(install.ExePath(), folder / L"Quorlen.exe"));
        opened = install.Folder() / L"opened & (here)";
        fs::create_directories(opened);
    }

    [[nodiscard]] std::wstring AwkwardExe() const { return (folder / L"Quorlen.exe").wstring(); }

    fs::path folder;
    fs::path opened;
};

TEST_F(ReliabilityAwkwardInstallTest, StoredCommandsStartTheLauncherWithTheFolderAndNothingElse) {
    {
        HANDLE file = CreateFileW((folder / L"config" / L"settings.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const wchar_t text[] = L"\xFEFFTakeover=1\r\n";
        DWORD written = 0;
        WriteFile(file, text, sizeof(text) - sizeof(wchar_t), &written, nullptr);
        CloseHandle(file);
    }
    long long cases = 0;
    long long failures = 0;
    auto check = [&](bool holds, const std::string& what) {
        ++cases;
        EXPECT_TRUE(holds) << what;
        failures += holds ? 0 : 1;
    };
    const std::wstring launcher = LauncherPath();
    {
        QuorlenProcess quorlen;
        ASSERT_TRUE(quorlen.StartCommandLine(L"\"" + AwkwardExe() + L"\"", folder.wstring(), 0));
        const HWND window = quorlen.WaitForMainWindow();
        ASSERT_NE(window, nullptr) << "no main window appeared";
        ASSERT_NE(Answer(quorlen, L"是否现在接管", IDYES), L"");
        ASSERT_TRUE(WaitUntil(AllCommandsStartTheLauncher, 30000)) << "the keys were not pointed at the launcher";
        for (const TakeoverKey& row : TakeoverKeys) {
            const std::optional<RegistryString> command = ReadClassesDefault(row.key);
            ASSERT_TRUE(command) << "no command in " << NarrowForTest(row.key);
            const std::vector<std::wstring> arguments = Arguments(AsTheShellRunsIt(*command, opened.wstring()));
            std::string what = "this command does not start the launcher with the folder: ";
            what += NarrowForTest(row.key);
            check(arguments.size() >= 2 && arguments.front() == launcher && arguments.back() == opened.wstring(), what);
        }
        // The entry is written once the keys are.
        check(WaitUntil([&] { return EntryText(L"DisplayIcon") == AwkwardExe(); }, 15000),
              "the uninstall entry names another program");
        const std::optional<std::wstring> uninstall = EntryText(L"UninstallString");
        check(uninstall && uninstall->find(folder.filename().wstring()) == std::wstring::npos,
              "the uninstall command runs something from the program's folder");
        CloseQuorlen(quorlen, window);
    }

    // With the program ended, the launcher starts it again with the folder.
    QuorlenProcess run;
    ASSERT_TRUE(RunStoredCommand(run, TakeoverKeys[0].key, opened.wstring()));
    HWND started = nullptr;
    check(WaitUntil(
              [&] {
                  const std::vector<HWND> windows = VisibleMainWindows(0);
                  started = windows.empty() ? nullptr : windows.front();
                  return started != nullptr;
              },
              30000),
          "the launcher did not start the program");
    if (started != nullptr) {
        const std::wstring tabs = (folder / L"config" / L"tabs.txt").wstring();
        check(WaitUntil(
                  [&] {
                      const std::vector<std::wstring> saved = ReadLines(tabs);
                      return std::find(saved.begin(), saved.end(), opened.wstring()) != saved.end();
                  },
                  20000),
              "the program the launcher started did not open the folder");
        DWORD startedId = 0;
        GetWindowThreadProcessId(started, &startedId);
        PostMessageW(started, WM_CLOSE, 0, 0);
        HWND box = nullptr;
        if (WaitUntil([&] { return (box = FindMessageBox(startedId)) != nullptr || !IsWindow(started); }, 10000) &&
            box != nullptr) {
            PostMessageW(box, WM_COMMAND, IDYES, 0);
        }
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(started); }, 15000)) << "the started program did not close";
    }
    check(fs::is_empty(opened), "something was made in the opened folder");
    RecordReliability({"launcher command", cases, 0, "program in an awkward folder", failures});
}

}  // namespace
