#include "takeover_fixture.h"

#include <tlhelp32.h>

#include "common/registry_export.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"
#include "ui/handles.h"
#include "ui/text.h"

void TakeoverTest::SetUp() {
    REQUIRE_PRIVATE_TEST_PREFIX();
    ASSERT_TRUE(install.Ready());
    classesAside.emplace(HKEY_CURRENT_USER, L"Software\\Classes");
    // The backup key's parent too: creating the backup key creates it.
    programKeyAside.emplace(HKEY_CURRENT_USER, L"Software\\Quorlen");
    entryAside.emplace(HKEY_CURRENT_USER, kUninstallEntryKey);
    ASSERT_TRUE(classesAside->Ready() && programKeyAside->Ready() && entryAside->Ready());
    // On Windows the user's classes key always exists.
    UniqueKey classes;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_READ, nullptr,
                              classes.put(), nullptr),
              ERROR_SUCCESS);
}

void TakeoverTest::TearDown() {
    entryAside.reset();
    programKeyAside.reset();
    classesAside.reset();
}

void TakeoverTest::WriteTakeoverSetting(bool on) {
    ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {on ? L"Takeover=1" : L"Takeover=0"}));
}

HWND TakeoverTest::StartQuorlen(QuorlenProcess& quorlen, const std::wstring& arguments) {
    EXPECT_TRUE(quorlen.Start(install, arguments));
    const HWND window = quorlen.WaitForMainWindow();
    EXPECT_NE(window, nullptr) << "no main window appeared";
    return window;
}

void TakeoverTest::CloseQuorlen(QuorlenProcess& quorlen, HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode));
    ASSERT_EQ(exitCode, 0u);
}

std::vector<std::wstring> TakeoverTest::Classes() {
    return ExportRegistryTree(HKEY_CURRENT_USER, L"Software\\Classes");
}

std::vector<std::wstring> TakeoverTest::Backup() { return ExportRegistryTree(HKEY_CURRENT_USER, kBackupKey); }

std::optional<std::wstring> TakeoverTest::CommandOf(const wchar_t* key) {
    const std::optional<RegistryString> value = ReadClassesDefault(key);
    if (!value) return std::nullopt;
    return value->text;
}

namespace {

template <typename Accept>
std::set<DWORD> FindProcesses(Accept accept) {
    std::set<DWORD> found;
    UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (accept(entry)) found.insert(entry.th32ProcessID);
    }
    return found;
}

}  // namespace

std::set<DWORD> ProcessesNamed(const std::wstring& image) {
    return FindProcesses([&](const PROCESSENTRY32W& entry) { return EqualsIgnoringCase(entry.szExeFile, image); });
}

std::set<DWORD> ChildProcesses(DWORD parent, const std::wstring& image) {
    return FindProcesses([&](const PROCESSENTRY32W& entry) {
        return entry.th32ParentProcessID == parent && EqualsIgnoringCase(entry.szExeFile, image);
    });
}

void EndProcesses(const std::set<DWORD>& ids) {
    for (DWORD id : ids) {
        UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!process) continue;
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
    }
}

bool RunToEnd(const std::wstring& commandLine, DWORD timeoutMs, DWORD& exitCode) {
    QuorlenProcess run;
    return run.StartCommandLine(commandLine) && run.WaitForExit(timeoutMs, exitCode);
}
