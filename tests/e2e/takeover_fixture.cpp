#include "takeover_fixture.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>

#include "common/registry_export.h"
#include "driver/window_queries.h"
#include "takeover/command_lines.h"
#include "takeover/launcher_file.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"
#include "ui/handles.h"
#include "ui/text.h"

namespace fs = std::filesystem;

fs::path TakeoverTest::ProgramsFolder() {
    CoTaskMemString profile;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_Profile, KF_FLAG_DEFAULT, nullptr, profile.put())) || !profile) return {};
    const fs::path folder = fs::path(profile.get()) / L"QuorlenTestPrograms";
    std::error_code error;
    fs::create_directories(folder, error);
    return folder;
}

void TakeoverTest::SetUp() {
    REQUIRE_PRIVATE_TEST_PREFIX();
    ASSERT_TRUE(install.Ready());
    classesAside.emplace(HKEY_CURRENT_USER, L"Software\\Classes");
    // The record's parent too: writing the record creates it.
    programKeyAside.emplace(HKEY_CURRENT_USER, L"Software\\Quorlen");
    entryAside.emplace(HKEY_CURRENT_USER, kUninstallEntryKey);
    ASSERT_TRUE(classesAside->Ready() && programKeyAside->Ready() && entryAside->Ready());
    const fs::path launcherFolder = LauncherFolder();
    ASSERT_FALSE(launcherFolder.empty());
    launcherAside = launcherFolder;
    launcherAside += L".set-aside-by-test";
    std::error_code error;
    fs::remove_all(launcherAside, error);
    if (fs::exists(launcherFolder)) fs::rename(launcherFolder, launcherAside);
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
    std::error_code error;
    const fs::path launcherFolder = LauncherFolder();
    fs::remove_all(launcherFolder, error);
    if (fs::exists(launcherAside)) fs::rename(launcherAside, launcherFolder, error);
}

void TakeoverTest::WriteTakeoverSetting(bool on) {
    ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {on ? L"Takeover=1" : L"Takeover=0"}));
}

bool TakeoverTest::SettingIs(bool on) const {
    const std::vector<std::wstring> lines = ReadConfigLines(install, L"settings.txt");
    return std::find(lines.begin(), lines.end(), on ? L"Takeover=1" : L"Takeover=0") != lines.end();
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
    ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode)) << "Quorlen did not end after its window was closed";
    ASSERT_EQ(exitCode, 0u);
}

std::wstring TakeoverTest::Answer(const QuorlenProcess& process, const std::wstring& words, int button) {
    HWND box = nullptr;
    std::wstring text;
    const bool came = WaitUntil(
        [&] {
            box = FindMessageBox(process.Id());
            text = box ? MessageBoxText(box) : std::wstring();
            return text.find(words) != std::wstring::npos;
        },
        30000);
    EXPECT_TRUE(came) << "no message box saying " << NarrowForTest(words) << " appeared; the last one said "
                      << NarrowForTest(text);
    if (!came) return {};
    PostMessageW(box, WM_COMMAND, button, 0);
    return text;
}

HWND TakeoverTest::TakeOver(QuorlenProcess& quorlen) {
    WriteTakeoverSetting(true);
    const HWND window = StartQuorlen(quorlen);
    if (!window || Answer(quorlen, L"是否现在接管", IDYES).empty()) return nullptr;
    EXPECT_TRUE(WaitUntil(AllCommandsStartTheLauncher, 30000)) << "the keys were not pointed at the launcher";
    return window;
}

std::vector<std::wstring> TakeoverTest::Classes() {
    return ExportRegistryTree(HKEY_CURRENT_USER, L"Software\\Classes");
}

std::vector<std::wstring> TakeoverTest::Record() { return ExportRegistryTree(HKEY_CURRENT_USER, kRecordKey); }

bool TakeoverTest::AllCommandsStartTheLauncher() {
    const std::wstring launcher = LauncherPath();
    return std::all_of(TakeoverKeys.begin(), TakeoverKeys.end(), [&](const TakeoverKey& row) {
        const std::optional<RegistryString> command = ReadClassesDefault(row.key);
        return command && command->text == BuildDirectCommand(launcher, row.argumentTemplate);
    });
}

namespace {

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

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

std::wstring AsTheShellRunsIt(const RegistryString& stored, const std::wstring& folder) {
    std::wstring command = stored.text;
    if (stored.type == REG_EXPAND_SZ) {
        std::wstring expanded(8192, L'\0');
        const DWORD length = ExpandEnvironmentStringsW(stored.text.c_str(), expanded.data(), 8192);
        if (length > 0 && length <= 8192) command = expanded.c_str();
    }
    return ReplaceAll(ReplaceAll(command, L"%1", folder), L"%V", folder);
}

bool TakeoverTest::RunStoredCommand(QuorlenProcess& run, const wchar_t* key, const std::wstring& folder) {
    const std::optional<RegistryString> stored = ReadClassesDefault(key);
    return stored && run.StartCommandLine(AsTheShellRunsIt(*stored, folder), folder, 0);
}

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
