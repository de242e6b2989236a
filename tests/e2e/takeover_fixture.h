#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "common/registry_set_aside.h"
#include "driver/quorlen_driver.h"

// End-to-end takeover tests: the real Quorlen.exe rewrites the private prefix's
// HKCU\Software\Classes, its record and its uninstall entry, and writes its
// launcher to %LOCALAPPDATA%\Quorlen. All of these are set aside for each test
// and put back afterwards. The program lives in a folder of the user profile:
// the takeover refuses a program in the temporary folder.
class TakeoverTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // settings.txt with takeover switched on or off.
    void WriteTakeoverSetting(bool on);
    [[nodiscard]] bool SettingIs(bool on) const;

    // Starts Quorlen and waits for its main window.
    HWND StartQuorlen(QuorlenProcess& quorlen, const std::wstring& arguments = L"");
    // Closes the window and waits for a clean exit.
    static void CloseQuorlen(QuorlenProcess& quorlen, HWND window);

    // Waits for a message box of the process whose text holds the words,
    // answers it with the button and returns its text; empty when none came.
    static std::wstring Answer(const QuorlenProcess& process, const std::wstring& words, int button);

    // Starts with takeover wanted on a profile that has none, and answers the
    // start's question yes; the window stays open.
    HWND TakeOver(QuorlenProcess& quorlen);

    // Whole trees, for before/after comparisons.
    static std::vector<std::wstring> Classes();
    static std::vector<std::wstring> Record();

    // Whether every open command starts the launcher.
    static bool AllCommandsStartTheLauncher();

    // A stored command run as the shell runs it: variables expanded, the folder
    // in place of its placeholder, started by CreateProcessW.
    static bool RunStoredCommand(QuorlenProcess& run, const wchar_t* key, const std::wstring& folder);

    [[nodiscard]] std::wstring Exe() const { return install.ExePath().wstring(); }

    QuorlenInstall install{ProgramsFolder()};

    // Below the user profile, where a user would unpack the program.
    static std::filesystem::path ProgramsFolder();

private:
    std::optional<RegistryKeySetAside> classesAside;
    std::optional<RegistryKeySetAside> programKeyAside;
    std::optional<RegistryKeySetAside> entryAside;
    std::filesystem::path launcherAside;
};

struct RegistryString;

// How the shell turns a stored command into the command line it runs: an
// expandable value has its environment variables expanded, then the folder
// takes the place of its placeholder.
[[nodiscard]] std::wstring AsTheShellRunsIt(const RegistryString& stored, const std::wstring& folder);

// Ids of the running processes with this image name (any letter case).
[[nodiscard]] std::set<DWORD> ProcessesNamed(const std::wstring& image);

// Ids of the running processes whose parent is this process.
[[nodiscard]] std::set<DWORD> ChildProcesses(DWORD parent, const std::wstring& image);

// Ends each of these processes (ones a test started) and waits for it.
void EndProcesses(const std::set<DWORD>& ids);

// Runs a command line to its end; false when it could not be started or did not
// end in time. Whatever it leaves running is ended.
bool RunToEnd(const std::wstring& commandLine, DWORD timeoutMs, DWORD& exitCode);
