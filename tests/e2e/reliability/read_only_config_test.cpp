#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "common/reliability_tally.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "fault_injection.h"
#include "tabs_fixture.h"

namespace {

using Lines = std::vector<std::wstring>;

constexpr UINT_PTR kBackupTimer = 3;

// A balloon of the program's that is up on the screen, or null.
HWND VisibleNotice(DWORD processId) {
    struct Search {
        DWORD processId;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND candidate, LPARAM parameter) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(candidate, &owner);
            const bool balloon = (GetWindowLongW(candidate, GWL_STYLE) & TTS_BALLOON) != 0;
            if (owner != wanted->processId || !IsWindowVisible(candidate) || !balloon ||
                ClassOf(candidate) != TOOLTIPS_CLASSW) {
                return TRUE;
            }
            wanted->found = candidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void OpenFolder(HWND window, const std::wstring& folder) {
    COPYDATASTRUCT open{1, static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)),
                        const_cast<wchar_t*>(folder.c_str())};
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&open), SMTO_ABORTIFHUNG, 15000,
                                    &answer));
}

// Two saved tabs; the test then takes the program's files away from it in one
// way or another while it runs.
class ReliabilityReadOnlyConfigTest : public TabsTest {
protected:
    void PrepareConfig() override {
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", {folders[0], folders[1]}));
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"ActiveTab=1", L"HistoryLimit=50"}));
        ASSERT_TRUE(WriteConfigLines(install, L"history.txt", {folders[2]}));
        ASSERT_TRUE(WriteConfigLines(install, L"favorites.txt", {folders[0]}));
    }

    std::wstring Config(const std::wstring& name) const { return install.ConfigFile(name).wstring(); }

    struct Snapshot {
        std::string settings, tabs, history, favorites;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Files() const {
        return {FileBytes(Config(L"settings.txt")), FileBytes(Config(L"tabs.txt")), FileBytes(Config(L"history.txt")),
                FileBytes(Config(L"favorites.txt"))};
    }

    // Opens a third tab, switches tabs and closes the first: each of these saves.
    void ChangeTheTabs() {
        ASSERT_NO_FATAL_FAILURE(OpenFolder(window, folders[2]));
        ASSERT_TRUE(WaitForTabCount(3));
        EXPECT_EQ(Query(strip, kSelectTab, 0), 0);
        EXPECT_EQ(Query(strip, kCloseTab, 0), 0);
        ASSERT_TRUE(WaitForTabCount(2));
    }

    // The tabs the program holds after ChangeTheTabs.
    Lines TabsInMemory() const { return {folders[1], folders[2]}; }

    // One more save, once the files are the program's again: what it held in
    // memory all along is written now.
    void SaveAgainAndCheck() {
        EXPECT_EQ(Query(strip, kSelectTab, 1), 0);
        EXPECT_TRUE(WaitForSavedTabs(TabsInMemory())) << "the tabs held in memory were lost";
        EXPECT_TRUE(quorlen.Running());
    }

    void SetReadOnly(const std::wstring& path, bool readOnly) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
    }
};

TEST_F(ReliabilityReadOnlyConfigTest, ReadOnlyConfigFilesStayAsTheyAreAndTheTabsStayInMemory) {
    ASSERT_TRUE(WaitForTabCount(2));
    ASSERT_TRUE(WaitForSavedTabs({folders[0], folders[1]}));
    const Lines names = {L"settings.txt", L"tabs.txt", L"history.txt", L"favorites.txt"};
    for (const std::wstring& name : names) ASSERT_NO_FATAL_FAILURE(SetReadOnly(Config(name), true));
    const Snapshot before = Files();

    ASSERT_NO_FATAL_FAILURE(ChangeTheTabs());
    EXPECT_EQ(Files(), before) << "a read-only file was changed";
    EXPECT_TRUE(quorlen.Running());
    // The user is told, by a notice that takes neither the focus nor an answer.
    HWND notice = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (notice = VisibleNotice(quorlen.Id())) != nullptr; }, 10000))
        << "no notice told of the failed saves";
    if (notice) {
        const std::wstring text = WindowText(notice);
        EXPECT_NE(text.find(Config(L"tabs.txt")), std::wstring::npos) << NarrowForTest(text);
        EXPECT_NE(text.find(L"只读"), std::wstring::npos) << NarrowForTest(text);
        EXPECT_EQ(GetForegroundWindow(), window) << "the notice took the foreground";
    }

    for (const std::wstring& name : names) ASSERT_NO_FATAL_FAILURE(SetReadOnly(Config(name), false));
    SaveAgainAndCheck();
    RecordReliability({"read-only config", 3, 4, "4 read-only files", 0});
}

TEST_F(ReliabilityReadOnlyConfigTest, AReadOnlyConfigFolderLosesNothing) {
    ASSERT_TRUE(WaitForTabCount(2));
    ASSERT_TRUE(WaitForSavedTabs({folders[0], folders[1]}));
    const std::wstring folder = install.Folder().wstring() + L"\\config";
    ASSERT_NO_FATAL_FAILURE(SetReadOnly(folder, true));
    ASSERT_NO_FATAL_FAILURE(ChangeTheTabs());
    EXPECT_TRUE(quorlen.Running());
    // Whatever was or was not written is whole, once the saves asked for are made.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const Lines saved = ReadConfigLines(install, L"tabs.txt");
            return SamePaths(saved, TabsInMemory()) || SamePaths(saved, {folders[0], folders[1]});
        },
        10000));
    ASSERT_NO_FATAL_FAILURE(SetReadOnly(folder, false));
    SaveAgainAndCheck();
    RecordReliability({"read-only config", 3, 1, "a read-only config folder", 0});
}

// The whole of a file as read through a handle that holds it.
std::string HeldBytes(HANDLE file) {
    std::string bytes;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) bytes.append(chunk, read);
    return bytes;
}

// Another program holding the files open without sharing, from the start on or
// only while the program saves.
TEST_F(ReliabilityReadOnlyConfigTest, FilesHeldOpenByAnotherProgramStayAsTheyAre) {
    ASSERT_TRUE(WaitForTabCount(2));
    ASSERT_TRUE(WaitForSavedTabs({folders[0], folders[1]}));
    std::vector<UniqueKernelHandle> held;
    for (const wchar_t* name : {L"settings.txt", L"tabs.txt", L"history.txt", L"favorites.txt"}) {
        // The program may be saving the file just then; it is held once it is free.
        UniqueKernelHandle file;
        ASSERT_TRUE(WaitUntil(
            [&] {
                file.reset(CreateFileW(Config(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
                return static_cast<bool>(file);
            },
            5000))
            << "cannot hold " << NarrowForTest(name);
        held.push_back(std::move(file));
    }
    // Read through the holding handles: what the program wrote before they were
    // taken does not count, only what changes while they are held.
    const auto contents = [&] {
        std::vector<std::string> files;
        for (const UniqueKernelHandle& file : held) files.push_back(HeldBytes(file.get()));
        return files;
    };
    const std::vector<std::string> before = contents();
    ASSERT_NO_FATAL_FAILURE(ChangeTheTabs());
    EXPECT_TRUE(quorlen.Running());
    EXPECT_EQ(contents(), before) << "a file held by another program was changed";
    held.clear();
    SaveAgainAndCheck();
    RecordReliability({"read-only config", 3, 4, "4 files held open without sharing", 0});
}

class ReliabilityConfigHeldAtStartTest : public ReliabilityReadOnlyConfigTest {
protected:
    void PrepareConfig() override {
        ReliabilityReadOnlyConfigTest::PrepareConfig();
        savedTabs = FileBytes(Config(L"tabs.txt"));
        heldTabs.reset(CreateFileW(Config(L"tabs.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(heldTabs);
    }
    UniqueKernelHandle heldTabs;
    std::string savedTabs;
};

// A tab list that could not be read at the start is not replaced by the tabs
// of a start that did not see it.
TEST_F(ReliabilityConfigHeldAtStartTest, AListUnreadableAtTheStartIsNeverOverwritten) {
    ASSERT_TRUE(WaitForTabCount(1));
    heldTabs.reset();
    ASSERT_NO_FATAL_FAILURE(OpenFolder(window, folders[2]));
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_EQ(Query(strip, kSelectTab, 0), 0);
    EXPECT_EQ(FileBytes(Config(L"tabs.txt")), savedTabs);
    EXPECT_TRUE(quorlen.Running());
    RecordReliability({"read-only config", 2, 1, "tabs.txt held open at the start", 0});
}

// A drive letter that names no drive here, or "" when every letter is taken.
std::wstring UnusedDrive() {
    for (wchar_t letter = L'Q'; letter <= L'Y'; ++letter) {
        const std::wstring root = std::wstring(1, letter) + L":\\";
        if (GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR) return root;
    }
    return {};
}

class ReliabilityUncreatableBackupTest : public ReliabilityReadOnlyConfigTest {
protected:
    void PrepareConfig() override {
        ReliabilityReadOnlyConfigTest::PrepareConfig();
        blocker = (data.Path() / L"a file").wstring();
        ASSERT_TRUE(WriteConfigLines(install, L"blocker.txt", {L"x"}));
        ASSERT_TRUE(CopyFileW(Config(L"blocker.txt").c_str(), blocker.c_str(), FALSE));
        ASSERT_TRUE(DeleteFileW(Config(L"blocker.txt").c_str()));
    }
    std::wstring blocker;
};

// The silent periodic backup into a folder that cannot be made: it fails
// quietly, creates nothing and changes nothing.
TEST_F(ReliabilityUncreatableBackupTest, ABackupFolderThatCannotBeMadeChangesNothing) {
    ASSERT_TRUE(WaitForSavedTabs({folders[0], folders[1]}));
    const std::string blockerBefore = FileBytes(blocker);
    const std::wstring drive = UnusedDrive();
    Lines targets = {blocker + L"\\backups", blocker + L"\\deep\\er"};
    if (!drive.empty()) targets.push_back(drive + L"backups");
    for (const std::wstring& target : targets) {
        SCOPED_TRACE(NarrowForTest(target));
        // The record the timer backs up with is the one loaded at the start.
        quorlen.Kill();
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"ActiveTab=1", L"BackupDir=" + target}));
        const Snapshot before = Files();
        ASSERT_TRUE(quorlen.Start(install));
        window = quorlen.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        strip = GetDlgItem(window, 7);
        ASSERT_TRUE(WaitForTabCount(2));
        ASSERT_TRUE(PostMessageW(window, WM_TIMER, kBackupTimer, 0));
        // Answered only after the posted timer has been handled.
        EXPECT_EQ(Query(strip, kTabCount), 2);
        EXPECT_TRUE(quorlen.Running());
        EXPECT_EQ(FileBytes(blocker), blockerBefore);
        EXPECT_EQ(GetFileAttributesW((target).c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(Files().settings, before.settings);
    }
    RecordReliability({"uncreatable backup folder", static_cast<long long>(targets.size()),
                       static_cast<long long>(targets.size()), "under a file, on a missing drive", 0});
}

}  // namespace
