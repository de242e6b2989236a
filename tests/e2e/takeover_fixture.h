#pragma once

#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "common/registry_set_aside.h"
#include "driver/quorlen_driver.h"

// End-to-end takeover tests: the real Quorlen.exe rewrites the private prefix's
// HKCU\Software\Classes, its backup key and its uninstall entry. All three are
// set aside for each test and put back afterwards.
class TakeoverTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // settings.txt with takeover switched on or off.
    void WriteTakeoverSetting(bool on);

    // Starts Quorlen and waits for its main window.
    HWND StartQuorlen(QuorlenProcess& quorlen, const std::wstring& arguments = L"");
    // Closes the window and waits for a clean exit.
    static void CloseQuorlen(QuorlenProcess& quorlen, HWND window);

    // Whole trees, for before/after comparisons.
    static std::vector<std::wstring> Classes();
    static std::vector<std::wstring> Backup();

    // The default value of a command key under HKCU\Software\Classes.
    static std::optional<std::wstring> CommandOf(const wchar_t* key);

    [[nodiscard]] std::wstring Exe() const { return install.ExePath().wstring(); }

    QuorlenInstall install;

private:
    std::optional<RegistryKeySetAside> classesAside;
    std::optional<RegistryKeySetAside> programKeyAside;
    std::optional<RegistryKeySetAside> entryAside;
};

// Ids of the running processes with this image name (any letter case).
[[nodiscard]] std::set<DWORD> ProcessesNamed(const std::wstring& image);

// Ids of the running processes whose parent is this process.
[[nodiscard]] std::set<DWORD> ChildProcesses(DWORD parent, const std::wstring& image);

// Ends each of these processes (ones a test started) and waits for it.
void EndProcesses(const std::set<DWORD>& ids);

// Runs a command line to its end; false when it could not be started or did not
// end in time. Whatever it leaves running is ended.
bool RunToEnd(const std::wstring& commandLine, DWORD timeoutMs, DWORD& exitCode);
