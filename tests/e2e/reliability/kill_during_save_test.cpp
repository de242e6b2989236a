#include <windows.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/private_prefix.h"
#include "common/reliability_tally.h"
#include "common/temp_folder.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "fault_injection.h"

namespace {

using Lines = std::vector<std::wstring>;

constexpr UINT_PTR kBackupTimer = 3;

// The keys of settings.txt as the program writes them, in their order.
const Lines kSettingsKeys = {L"NavVisible",   L"DetailsVisible", L"PreviewVisible",   L"ShowHiddenFiles",
                             L"ShowFileExt",  L"ViewMode",       L"ViewIconSize",     L"Takeover",
                             L"FavBarVisible", L"SearchBoxVisible", L"NewTabPath",     L"BackupDir",
                             L"ActiveTab",    L"HistoryLimit",   L"WindowX",          L"WindowY",
                             L"WindowWidth",  L"WindowHeight",   L"Appearance",      L"RecentTabOrder"};

Lines KeysOf(const Lines& lines) {
    Lines keys;
    for (const std::wstring& line : lines) keys.push_back(line.substr(0, line.find(L'=')));
    return keys;
}

// A line file the program wrote whole: the byte-order mark, then nothing but
// complete lines.
bool WrittenWhole(const std::string& bytes) {
    return bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes.compare(0, 2, "\xFF\xFE") == 0 &&
           (bytes.size() == 2 || bytes.compare(bytes.size() - 4, 4, std::string("\r\0\n\0", 4)) == 0);
}

void OpenFolder(HWND window, const std::wstring& folder) {
    COPYDATASTRUCT open{1, static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)),
                        const_cast<wchar_t*>(folder.c_str())};
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&open), SMTO_ABORTIFHUNG, 5000, &answer);
}

LRESULT Ask(HWND strip, UINT message, WPARAM wParam = 0) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(strip, message, wParam, 0, SMTO_ABORTIFHUNG, 5000, &answer)) return -1;
    return static_cast<LRESULT>(answer);
}

class ReliabilityKillTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        ASSERT_TRUE(install.Ready());
    }

    std::wstring Config(const std::wstring& name) const { return install.ConfigFile(name).wstring(); }

    std::vector<std::wstring> MakeFolders(int count) {
        std::vector<std::wstring> made;
        for (int i = 0; i < count; ++i) {
            made.push_back((data.Path() / (L"folder " + std::to_wstring(i))).wstring());
            std::filesystem::create_directories(made.back());
        }
        return made;
    }

    HWND StartAndWait(QuorlenProcess& quorlen) {
        EXPECT_TRUE(quorlen.Start(install));
        const HWND window = quorlen.WaitForMainWindow();
        EXPECT_NE(window, nullptr) << "no main window appeared";
        return window;
    }

    QuorlenInstall install;
    TempFolder data;
};

// Opening, selecting and closing tabs and closing the window make the program
// save its tab list, its settings and its history again and again; a kill at
// any moment of that leaves each file whole, as one of the versions the
// program meant to write.
TEST_F(ReliabilityKillTest, KillsWhileSavingLeaveEveryConfigFileWhole) {
    std::mt19937 random(ReliabilitySeed() + 10);
    const std::vector<std::wstring> folders = MakeFolders(4);
    const Lines saved(folders.begin(), folders.begin() + 3);
    const Lines savedWithFourth(folders.begin(), folders.end());
    ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", saved));
    // Every line, as the program itself writes the file.
    const Lines settings = {L"NavVisible=1",     L"DetailsVisible=0",  L"PreviewVisible=0", L"ShowHiddenFiles=0",
                            L"ShowFileExt=1",    L"ViewMode=-1",       L"ViewIconSize=32",  L"Takeover=0",
                            L"FavBarVisible=0",  L"SearchBoxVisible=1", L"NewTabPath=",     L"BackupDir=",
                            L"ActiveTab=0",      L"HistoryLimit=100",  L"WindowX=40",       L"WindowY=30",
                            L"WindowWidth=900",  L"WindowHeight=600",  L"Appearance=0",     L"RecentTabOrder=0"};
    ASSERT_EQ(KeysOf(settings), kSettingsKeys);
    ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", settings));

    const long long rounds = Scaled(8);
    long long interrupted = 0;
    for (long long round = 0; round < rounds && !HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        QuorlenProcess quorlen;
        const HWND window = StartAndWait(quorlen);
        ASSERT_NE(window, nullptr);
        const HWND strip = GetDlgItem(window, 7);
        const Lines loaded = ReadConfigLines(install, L"tabs.txt");
        // What the last round left is what this start reopens.
        ASSERT_TRUE(WaitUntil([&] { return Ask(strip, kTabCount) == static_cast<LRESULT>(loaded.size()); }, 20000));
        ASSERT_TRUE(WaitUntil([&] { return !std::filesystem::exists(Config(L"tabs.txt.saving")); }, 20000));

        std::atomic<bool> stop{false};
        const DWORD processId = quorlen.Id();
        std::thread storm([&, seed = random()] {
            std::mt19937 choose(seed);
            while (!stop && IsWindow(window)) {
                const LRESULT count = Ask(strip, kTabCount);
                if (count < 0) return;
                switch (choose() % 8) {
                    case 0:
                    case 1: OpenFolder(window, folders[3]); break;
                    case 2:
                    case 3:
                        if (count == 4) Ask(strip, kCloseTab, 3);
                        break;
                    case 7:
                        if (choose() % 4 == 0) {
                            // The window asks first when it holds several tabs.
                            PostMessageW(window, WM_CLOSE, 0, 0);
                            HWND box = nullptr;
                            WaitUntil([&] { return stop || (box = FindMessageBox(processId)) != nullptr; }, 5000, 1);
                            if (box != nullptr) PostMessageW(box, WM_COMMAND, IDYES, 0);
                            return;
                        }
                        break;
                    default: Ask(strip, kSelectTab, choose() % static_cast<unsigned>(count)); break;
                }
            }
        });
        // Into the next save after a while of them: the first change of a file
        // is the start of writing one.
        Sleep(std::uniform_int_distribution<DWORD>(50, 800)(random));
        {
            const FolderChangeWatch saving(install.Folder().wstring() + L"\\config");
            (void)saving.Wait(5000);
            KillAt(quorlen, NowMicroseconds(), 3000, random);
        }
        stop = true;
        storm.join();

        if (std::filesystem::exists(Config(L"tabs.txt.saving")) ||
            std::filesystem::exists(Config(L"settings.txt.saving")) ||
            std::filesystem::exists(Config(L"history.txt.saving")) ||
            std::filesystem::exists(Config(L"tabhistory.txt.saving"))) {
            ++interrupted;
        }
        const std::string settingsBytes = FileBytes(Config(L"settings.txt"));
        EXPECT_TRUE(WrittenWhole(settingsBytes));
        EXPECT_EQ(KeysOf(ReadConfigLines(install, L"settings.txt")), kSettingsKeys);
        EXPECT_TRUE(WrittenWhole(FileBytes(Config(L"tabs.txt"))));
        const Lines tabs = ReadConfigLines(install, L"tabs.txt");
        EXPECT_TRUE(SamePaths(tabs, saved) || SamePaths(tabs, savedWithFourth)) << tabs.size() << " tabs saved";
        for (const wchar_t* tabFile : {L"tabhistory.txt", L"tabmarks.txt"}) {
            if (std::filesystem::exists(Config(tabFile))) {
                EXPECT_TRUE(WrittenWhole(FileBytes(Config(tabFile)))) << NarrowForTest(tabFile);
            }
        }
        if (std::filesystem::exists(Config(L"history.txt"))) {
            EXPECT_TRUE(WrittenWhole(FileBytes(Config(L"history.txt"))));
            EXPECT_TRUE(SamePaths(ReadConfigLines(install, L"history.txt"), {folders[3]}));
        }
    }
    RecordReliability({"kill during save", rounds, rounds,
                       std::to_string(interrupted) + " kills left a save half-done", 0});
}

// A kill at any moment of a start that reopens 30 saved tabs leaves the saved
// list as it was, and the next start reopens all 30.
TEST_F(ReliabilityKillTest, KillsWhileThirtyTabsAreRestoredKeepTheSavedList) {
    std::mt19937 random(ReliabilitySeed() + 11);
    const std::vector<std::wstring> folders = MakeFolders(30);
    ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", folders));
    ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"ActiveTab=7"}));

    // How long a whole restore takes, from the start until every tab is back.
    std::int64_t restoreMicros = 0;
    {
        const std::int64_t start = NowMicroseconds();
        QuorlenProcess quorlen;
        const HWND window = StartAndWait(quorlen);
        ASSERT_NE(window, nullptr);
        const HWND strip = GetDlgItem(window, 7);
        ASSERT_TRUE(WaitUntil([&] { return Ask(strip, kTabCount) == 30; }, 60000, 1)) << "the tabs never came back";
        restoreMicros = NowMicroseconds() - start;
        ASSERT_TRUE(WaitUntil([&] { return !std::filesystem::exists(Config(L"tabs.txt.saving")); }, 20000));
    }
    // From here on the files hold the program's own spelling of the folders.
    ASSERT_TRUE(SamePaths(ReadConfigLines(install, L"tabs.txt"), folders));
    const std::string tabsBefore = FileBytes(Config(L"tabs.txt"));
    const std::string settingsBefore = FileBytes(Config(L"settings.txt"));

    const long long rounds = Scaled(2);
    for (long long round = 0; round < rounds && !HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        QuorlenProcess quorlen;
        ASSERT_TRUE(quorlen.Start(install));
        KillAt(quorlen, NowMicroseconds(), restoreMicros * 6 / 5, random);
        EXPECT_EQ(FileBytes(Config(L"tabs.txt")), tabsBefore);
        EXPECT_EQ(FileBytes(Config(L"settings.txt")), settingsBefore);
    }
    QuorlenProcess quorlen;
    const HWND window = StartAndWait(quorlen);
    ASSERT_NE(window, nullptr);
    const HWND strip = GetDlgItem(window, 7);
    EXPECT_TRUE(WaitUntil([&] { return Ask(strip, kTabCount) == 30; }, 60000));
    EXPECT_TRUE(WaitUntil([&] { return Ask(strip, kActiveTab) == 7; }, 20000));
    RecordReliability({"kill during restore of 30 tabs", rounds, rounds, "30 saved tabs", 0});
}

// The files of a folder, name by name.
std::map<std::wstring, std::string> FolderFiles(const std::filesystem::path& folder) {
    std::map<std::wstring, std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file()) files[entry.path().filename().wstring()] = FileBytes(entry.path().wstring());
    }
    return files;
}

// What a copy lacks or holds otherwise than the folder it copies, for messages.
std::string CopyDifference(const std::map<std::wstring, std::string>& copy,
                           const std::map<std::wstring, std::string>& source) {
    std::wstring names;
    for (const auto& [name, bytes] : source) {
        const auto copied = copy.find(name);
        if (copied == copy.end()) {
            names += L" missing " + name + L";";
        } else if (copied->second != bytes) {
            names += L" different " + name + L";";
        }
    }
    for (const auto& [name, bytes] : copy) {
        if (!source.contains(name)) names += L" extra " + name + L";";
    }
    return NarrowForTest(names);
}

// Whether a folder holds a whole copy: every file of one of the two versions,
// each file as in the one or the other.
bool WholeCopy(const std::map<std::wstring, std::string>& copy, const std::map<std::wstring, std::string>& older,
               const std::map<std::wstring, std::string>& newer) {
    if (copy.size() != newer.size()) return false;
    for (const auto& [name, bytes] : copy) {
        const auto inOlder = older.find(name);
        const auto inNewer = newer.find(name);
        if (inNewer == newer.end()) return false;
        if (bytes != inNewer->second && (inOlder == older.end() || bytes != inOlder->second)) return false;
    }
    return true;
}

// A kill while the configuration is copied into the backup folder never leaves
// that folder without a whole copy, and the next backup is whole and alone.
TEST_F(ReliabilityKillTest, KillsDuringAConfigBackupLeaveAWholeCopy) {
    std::mt19937 random(ReliabilitySeed() + 12);
    TempFolder backupRoot;
    const std::filesystem::path backupFolder = backupRoot.Path() / L"backups";
    const std::filesystem::path target = backupFolder / L"config";
    ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"BackupDir=" + backupFolder.wstring()}));
    // Enough to copy that a kill can land inside.
    const auto writeNotes = [&](int version) {
        for (int i = 0; i < 24; ++i) {
            Lines lines(2000, L"note " + std::to_wstring(i) + L" version " + std::to_wstring(version));
            ASSERT_TRUE(WriteConfigLines(install, L"note" + std::to_wstring(i) + L".txt", lines));
        }
    };
    ASSERT_NO_FATAL_FAILURE(writeNotes(0));

    QuorlenProcess quorlen;
    HWND window = StartAndWait(quorlen);
    ASSERT_NE(window, nullptr);
    // The first save writes the tab list and then the tabs' histories: the
    // folder is settled once both are there.
    ASSERT_TRUE(WaitUntil(
        [&] { return std::filesystem::exists(Config(L"tabs.txt")) && std::filesystem::exists(Config(L"tabhistory.txt")); },
        20000))
        << "the first save of the tabs did not come";
    // Waits for the backup to hold what the config folder holds.
    const auto waitForWholeBackup = [&](DWORD pollMs) {
        const auto source = FolderFiles(install.Folder() / L"config");
        std::map<std::wstring, std::string> copy;
        ASSERT_TRUE(WaitUntil([&] { return (copy = FolderFiles(target)) == source; }, 30000, pollMs))
            << "no whole backup was made:" << CopyDifference(copy, source);
    };
    const auto backUpFully = [&] {
        ASSERT_TRUE(PostMessageW(window, WM_TIMER, kBackupTimer, 0));
        waitForWholeBackup(25);
    };
    std::filesystem::create_directories(backupFolder);
    std::int64_t backupMicros = 0;
    {
        const FolderChangeWatch copying(backupFolder.wstring());
        ASSERT_TRUE(copying.Armed());
        ASSERT_NO_FATAL_FAILURE(backUpFully());
        ASSERT_TRUE(copying.Wait(0));
    }
    {
        ASSERT_NO_FATAL_FAILURE(writeNotes(1));
        const FolderChangeWatch copying(backupFolder.wstring());
        ASSERT_TRUE(PostMessageW(window, WM_TIMER, kBackupTimer, 0));
        ASSERT_TRUE(copying.Wait(30000));
        const std::int64_t start = NowMicroseconds();
        ASSERT_NO_FATAL_FAILURE(waitForWholeBackup(1));
        backupMicros = NowMicroseconds() - start;
    }

    const long long rounds = Scaled(6);
    for (long long round = 0; round < rounds && !HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const auto older = FolderFiles(install.Folder() / L"config");
        ASSERT_NO_FATAL_FAILURE(writeNotes(static_cast<int>(round) + 2));
        const auto newer = FolderFiles(install.Folder() / L"config");
        {
            const FolderChangeWatch copying(backupFolder.wstring());
            ASSERT_TRUE(PostMessageW(window, WM_TIMER, kBackupTimer, 0));
            ASSERT_TRUE(copying.Wait(30000));
            KillAt(quorlen, NowMicroseconds(), backupMicros * 3 / 2, random);
        }
        // The copy under its own name, or, while it was being replaced, another.
        bool whole = false;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(backupFolder, error)) {
            whole = whole || WholeCopy(FolderFiles(entry.path()), older, newer);
        }
        if (std::filesystem::exists(target)) {
            const auto copy = FolderFiles(target);
            EXPECT_TRUE(WholeCopy(copy, older, newer))
                << "the backup was left half-copied; against the newer files:" << CopyDifference(copy, newer)
                << "; against the older:" << CopyDifference(copy, older);
        }
        EXPECT_TRUE(whole) << "no whole copy is left in the backup folder";

        window = StartAndWait(quorlen);
        ASSERT_NE(window, nullptr);
        ASSERT_NO_FATAL_FAILURE(backUpFully());
        // The old copy goes last, once the new one is in place.
        EXPECT_TRUE(WaitUntil(
            [&] {
                const std::filesystem::directory_iterator entries(backupFolder, error);
                return std::distance(std::filesystem::begin(entries), std::filesystem::end(entries)) == 1;
            },
            10000))
            << "the backup folder holds more than the one copy";
    }
    RecordReliability({"kill during config backup", rounds, rounds, "26 files of up to 70 KB", 0});
}

}  // namespace
