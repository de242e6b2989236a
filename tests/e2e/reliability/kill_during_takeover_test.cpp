#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/registry_export.h"
#include "common/reliability_tally.h"
#include "fault_injection.h"
#include "takeover/command_lines.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"
#include "takeover_fixture.h"

namespace {

using Lines = std::vector<std::wstring>;

constexpr wchar_t kProgramKey[] = L"Software\\Quorlen";

bool SetUserValue(const std::wstring& key, const wchar_t* name, const std::wstring& text, DWORD type) {
    UniqueKey opened;
    return RegCreateKeyExW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key).c_str(), 0, nullptr, 0,
                           KEY_SET_VALUE, nullptr, opened.put(), nullptr) == ERROR_SUCCESS &&
           RegSetValueExW(opened.get(), name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool HasFriendlyName() {
    const UniqueKey application = OpenClassesKey(kApplicationKey, KEY_READ);
    return application && ReadStringValue(application.get(), kFriendlyAppNameValue).has_value();
}

bool AllCommandsDirect(const std::wstring& exe) {
    return std::all_of(TakeoverKeys.begin(), TakeoverKeys.end(), [&](const TakeoverKey& row) {
        const std::optional<RegistryString> command = ReadClassesDefault(row.key);
        return command && command->text == BuildDirectCommand(exe, row.argumentTemplate);
    });
}

// The registry as a user had it before any takeover: some open commands of
// other programs (one of each string type, one empty) and a menu caption.
class ReliabilityTakeoverKillTest : public TakeoverTest {
protected:
    void SetUp() override {
        TakeoverTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(SetUserValue(L"Directory\\shell\\open\\command", nullptr, L"\"C:\\Tools\\Viewer.exe\" \"%1\"",
                                 REG_SZ));
        ASSERT_TRUE(SetUserValue(L"Drive\\shell\\open\\command", nullptr,
                                 L"%SystemRoot%\\explorer.exe /e,\"%1\"", REG_EXPAND_SZ));
        ASSERT_TRUE(SetUserValue(L"Directory\\Background\\shell\\open\\command", nullptr, L"", REG_SZ));
        ASSERT_TRUE(SetUserValue(L"Folder\\shell\\opennewprocess", L"MUIVerb", L"在别处打开", REG_SZ));
        // The program's own key exists from the start, so that its tree can be
        // watched for the first write of a backup.
        UniqueKey program;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_READ, nullptr, program.put(),
                                  nullptr),
                  ERROR_SUCCESS);
        original = Classes();
        ASSERT_TRUE(originalClasses.Take());
    }

    // Runs the silent uninstall command, which restores the keys, to its end.
    void Uninstall(const std::filesystem::path& exe) {
        QuorlenProcess uninstall;
        ASSERT_TRUE(uninstall.StartCommandLine(L"\"" + exe.wstring() + L"\" /uninstall /silent",
                                               exe.parent_path().wstring(), 0));
        DWORD exitCode = 1;
        ASSERT_TRUE(uninstall.WaitForExit(30000, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    void Uninstall() { Uninstall(install.ExePath()); }

    // A whole start with takeover on, closed again: the keys end in the fallback form.
    void StartAndClose() {
        WriteTakeoverSetting(true);
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(AllCommandsDirect(Exe()));
        CloseQuorlen(quorlen, window);
    }

    // One clean takeover and restore, timed from outside, with the registry states between.
    void Calibrate() {
        WriteTakeoverSetting(true);
        {
            const RegistryChangeWatch backupWritten(HKEY_CURRENT_USER, kProgramKey);
            ASSERT_TRUE(backupWritten.Armed());
            QuorlenProcess quorlen;
            ASSERT_TRUE(quorlen.Start(install));
            ASSERT_TRUE(backupWritten.Wait(30000)) << "no backup was written";
            const std::int64_t start = NowMicroseconds();
            ASSERT_TRUE(WaitUntil([&] { return AllCommandsDirect(Exe()); }, 30000, 1));
            applyMicros = NowMicroseconds() - start;
            const HWND window = quorlen.WaitForMainWindow();
            ASSERT_NE(window, nullptr);
            takenOverWhileRunning = Classes();
            CloseQuorlen(quorlen, window);
        }
        firstBackup = Backup();
        ASSERT_EQ(firstBackup.size(), 25u);
        ASSERT_TRUE(takenOver.Take());
        ASSERT_TRUE(takenOverBackup.Take());
        {
            const RegistryChangeWatch restoring(HKEY_CURRENT_USER, L"Software\\Classes");
            ASSERT_TRUE(restoring.Armed());
            QuorlenProcess uninstall;
            ASSERT_TRUE(uninstall.Start(install, L"/uninstall /silent"));
            ASSERT_TRUE(restoring.Wait(30000)) << "the uninstall command changed nothing";
            const std::int64_t start = NowMicroseconds();
            // The display name is the last thing a restore takes away.
            ASSERT_TRUE(WaitUntil([] { return !HasFriendlyName(); }, 30000, 1));
            restoreMicros = NowMicroseconds() - start;
            DWORD exitCode = 1;
            ASSERT_TRUE(uninstall.WaitForExit(30000, exitCode));
        }
        ASSERT_EQ(Classes(), original) << "even an undisturbed takeover and restore differ";
    }

    // Back to the state of a finished takeover after its session ended.
    void PutBackTakenOver() {
        ASSERT_TRUE(takenOver.PutBack());
        ASSERT_TRUE(takenOverBackup.PutBack());
        WriteTakeoverSetting(true);
    }

    // Back to the user's own registry, with no backup at all.
    void PutBackOriginal() {
        ASSERT_TRUE(originalClasses.PutBack());
        const LSTATUS deleted = RegDeleteTreeW(HKEY_CURRENT_USER, kBackupKey);
        ASSERT_TRUE(deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND);
        WriteTakeoverSetting(true);
    }

    // Starts the program, which takes over, and kills it inside that work.
    // A first takeover begins with the backup; a later one writes the same
    // backup again, which changes nothing, and then the commands.
    void KillDuringApply(bool first, std::mt19937& random) {
        const RegistryChangeWatch started(HKEY_CURRENT_USER, first ? kProgramKey : L"Software\\Classes");
        ASSERT_TRUE(started.Armed());
        QuorlenProcess quorlen;
        ASSERT_TRUE(quorlen.Start(install));
        ASSERT_TRUE(started.Wait(30000)) << "the takeover did not begin";
        KillAt(quorlen, NowMicroseconds(), applyMicros * 3 / 2, random);
    }

    void KillDuringRestore(std::mt19937& random) {
        const RegistryChangeWatch restoring(HKEY_CURRENT_USER, L"Software\\Classes");
        ASSERT_TRUE(restoring.Armed());
        QuorlenProcess uninstall;
        ASSERT_TRUE(uninstall.Start(install, L"/uninstall /silent"));
        ASSERT_TRUE(restoring.Wait(30000)) << "the uninstall command changed nothing";
        KillAt(uninstall, NowMicroseconds(), restoreMicros * 3 / 2, random);
    }

    // After a kill: perhaps a whole takeover, then a restore, which must bring
    // back the user's registry exactly. A whole takeover, now or before the
    // kill, leaves the backup of the first one.
    void UndoAfterTheKill(bool takeOverAgainFirst, bool backupWasWhole) {
        if (takeOverAgainFirst) {
            ASSERT_NO_FATAL_FAILURE(StartAndClose());
            EXPECT_EQ(Backup(), firstBackup) << "the backup no longer describes the state before the takeover";
        }
        ASSERT_NO_FATAL_FAILURE(Uninstall());
        EXPECT_EQ(Classes(), original) << "the restore after the kill left the keys changed";
        if (takeOverAgainFirst || backupWasWhole) {
            EXPECT_EQ(Backup(), firstBackup);
        }
    }

    // Whether a kill left the keys neither as they were nor as they were meant to end.
    static bool IsHalfDone(const Lines& before, const Lines& after) {
        const Lines now = Classes();
        return now != before && now != after;
    }

    Lines original;
    Lines takenOverWhileRunning;
    Lines firstBackup;
    RegistryTreeCopy originalClasses{HKEY_CURRENT_USER, L"Software\\Classes"};
    RegistryTreeCopy takenOver{HKEY_CURRENT_USER, L"Software\\Classes"};
    RegistryTreeCopy takenOverBackup{HKEY_CURRENT_USER, kBackupKey};
    std::int64_t applyMicros = 0;
    std::int64_t restoreMicros = 0;
};

// A kill anywhere inside a takeover, the first one or a later one, leaves a
// state from which a restore gets the user's registry back exactly, and a
// later takeover still backs up the state before the first one. Likewise a
// kill anywhere inside a restore, followed by a second restore or by a
// takeover and a restore.
TEST_F(ReliabilityTakeoverKillTest, KillsInsideATakeoverOrARestoreAreUndoneExactly) {
    std::mt19937 random(ReliabilitySeed());
    ASSERT_NO_FATAL_FAILURE(Calibrate());
    const long long rounds = Scaled(12);
    long long halfWritten = 0;
    for (long long round = 0; round < rounds && !HasFailure(); ++round) {
        const bool first = round % 2 == 0;
        // A whole start in between restarts Explorer, which takes seconds.
        const bool takeOverAgainFirst = round % 12 == 5;
        SCOPED_TRACE("takeover round " + std::to_string(round) + (first ? ", first takeover" : ", later takeover"));
        if (first) {
            ASSERT_NO_FATAL_FAILURE(PutBackOriginal());
        } else {
            ASSERT_NO_FATAL_FAILURE(PutBackTakenOver());
        }
        const Lines before = Classes();
        ASSERT_NO_FATAL_FAILURE(KillDuringApply(first, random));
        if (!first) {
            EXPECT_EQ(Backup(), firstBackup) << "a killed later takeover changed the backup";
        }
        halfWritten += IsHalfDone(before, takenOverWhileRunning);
        ASSERT_NO_FATAL_FAILURE(UndoAfterTheKill(takeOverAgainFirst, !first));
    }
    RecordReliability({"kill during takeover apply", rounds, rounds,
                       std::to_string(halfWritten) + " kills left the keys half-written", 0});

    long long halfRestored = 0;
    for (long long round = 0; round < rounds && !HasFailure(); ++round) {
        const bool takeOverAgainFirst = round % 12 == 7;
        SCOPED_TRACE("restore round " + std::to_string(round));
        ASSERT_NO_FATAL_FAILURE(PutBackTakenOver());
        const Lines before = Classes();
        ASSERT_NO_FATAL_FAILURE(KillDuringRestore(random));
        EXPECT_EQ(Backup(), firstBackup) << "a killed restore changed the backup";
        halfRestored += IsHalfDone(before, original);
        ASSERT_NO_FATAL_FAILURE(UndoAfterTheKill(takeOverAgainFirst, true));
    }
    RecordReliability({"kill during takeover restore", rounds, rounds,
                       std::to_string(halfRestored) + " kills left the keys half-restored", 0});
}

// The program may be renamed or moved between two sessions, also after one
// that ended without switching its keys to the fallback form. Its earlier
// commands are still its own, not a user's to be kept as the state before.
TEST_F(ReliabilityTakeoverKillTest, ARenamedOrMovedProgramKeepsTheBackupOfTheFirstTakeover) {
    struct Move {
        const char* what;
        bool cleanExit;
        std::wstring folder;  // empty: the same folder
        std::wstring name;
    };
    TempFolder elsewhere;
    // Each case takes seconds (a takeover restarts Explorer); the soak run tries them all.
    std::vector<Move> moves = {
        {"moved and renamed after a crash", false, elsewhere.Path().wstring(), L"Other.exe"},
    };
    if (SoakFactor() > 1) {
        moves.push_back({"renamed after a clean exit", true, L"", L"Renamed.exe"});
        moves.push_back({"renamed after a crash", false, L"", L"Renamed.exe"});
        moves.push_back({"moved after a crash", false, elsewhere.Path().wstring(), L"Quorlen.exe"});
    }
    for (const Move& move : moves) {
        SCOPED_TRACE(move.what);
        ASSERT_NO_FATAL_FAILURE(PutBackOriginal());
        std::filesystem::path exe = install.ExePath();
        {
            QuorlenProcess quorlen;
            const HWND window = StartQuorlen(quorlen);
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(AllCommandsDirect(exe.wstring()));
            if (move.cleanExit) {
                CloseQuorlen(quorlen, window);
            } else {
                quorlen.Kill();
            }
        }
        const Lines backup = Backup();
        ASSERT_EQ(backup.size(), 25u);

        const std::filesystem::path folder = move.folder.empty() ? install.Folder() : std::filesystem::path(move.folder);
        const std::filesystem::path moved = folder / move.name;
        ASSERT_TRUE(MoveFileW(exe.c_str(), moved.c_str()));
        if (folder != install.Folder()) {
            std::filesystem::copy(install.Folder() / L"config", folder / L"config",
                                  std::filesystem::copy_options::recursive |
                                      std::filesystem::copy_options::overwrite_existing);
        }
        {
            QuorlenProcess quorlen;
            ASSERT_TRUE(quorlen.StartCommandLine(L"\"" + moved.wstring() + L"\"", folder.wstring(), 0));
            const HWND window = quorlen.WaitForMainWindow();
            ASSERT_NE(window, nullptr);
            EXPECT_TRUE(AllCommandsDirect(moved.wstring()));
            EXPECT_EQ(Backup(), backup) << "the earlier commands were backed up as the user's";
            PostMessageW(window, WM_CLOSE, 0, 0);
            DWORD exitCode = 1;
            ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode));
        }
        ASSERT_NO_FATAL_FAILURE(Uninstall(moved));
        EXPECT_EQ(Classes(), original) << "the restore left commands of the program";
        ASSERT_TRUE(MoveFileW(moved.c_str(), exe.c_str()));
        if (folder != install.Folder()) std::filesystem::remove_all(folder / L"config");
    }
    RecordReliability({"takeover after the program moved", static_cast<long long>(moves.size()),
                       static_cast<long long>(moves.size()), "renamed or moved, after a crash", 0});
}

}  // namespace
