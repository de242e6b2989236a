#include <windows.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "common/registry_export.h"
#include "common/reliability_tally.h"
#include "driver/window_queries.h"
#include "fault_injection.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"
#include "takeover/takeover_record.h"
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

bool TakeoverFinished() {
    const std::optional<TakeoverRecord> record = ReadTakeoverRecord();
    return record && record->phase == RecordPhase::Applied;
}

// The registry as a user had it before any takeover: other programs' open
// commands (one of each string type, one empty, one with the empty delegate a
// file manager sets) and a menu caption.
class ReliabilityTakeoverKillTest : public TakeoverTest {
protected:
    void SetUp() override {
        TakeoverTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(SetUserValue(L"Directory\\shell\\open\\command", nullptr, L"\"C:\\Tools\\Viewer.exe\" \"%1\"",
                                 REG_SZ));
        ASSERT_TRUE(SetUserValue(L"Directory\\shell\\open\\command", kDelegateExecuteValue, L"", REG_SZ));
        ASSERT_TRUE(SetUserValue(L"Drive\\shell\\open\\command", nullptr,
                                 L"%SystemRoot%\\explorer.exe /e,\"%1\"", REG_EXPAND_SZ));
        ASSERT_TRUE(SetUserValue(L"Directory\\Background\\shell\\open\\command", nullptr, L"", REG_SZ));
        ASSERT_TRUE(SetUserValue(L"Folder\\shell\\opennewprocess", L"MUIVerb", L"在别处打开", REG_SZ));
        // The program's own key exists from the start, so that its tree can be
        // watched for the first write of the record.
        UniqueKey program;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_READ, nullptr, program.put(),
                                  nullptr),
                  ERROR_SUCCESS);
        original = Classes();
        ASSERT_TRUE(originalClasses.Take());
    }

    // Runs the silent uninstall command, which undoes the takeover, to its end.
    void Uninstall() {
        QuorlenProcess uninstall;
        ASSERT_TRUE(uninstall.Start(install, L"/uninstall /silent"));
        DWORD exitCode = 1;
        ASSERT_TRUE(uninstall.WaitForExit(30000, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    // Starts with the takeover wanted and waits for the question; the caller answers it.
    HWND StartToTheQuestion(QuorlenProcess& quorlen) {
        WriteTakeoverSetting(true);
        const HWND window = StartQuorlen(quorlen);
        EXPECT_TRUE(WaitUntil([&] { return FindMessageBox(quorlen.Id()) != nullptr; }, 30000)) << "no question came";
        return window;
    }

    // One whole takeover and undo, timed from outside, with the states between.
    void Calibrate() {
        {
            QuorlenProcess quorlen;
            const HWND window = StartToTheQuestion(quorlen);
            ASSERT_NE(window, nullptr);
            const RegistryChangeWatch recordWritten(HKEY_CURRENT_USER, kProgramKey);
            ASSERT_TRUE(recordWritten.Armed());
            PostMessageW(FindMessageBox(quorlen.Id()), WM_COMMAND, IDYES, 0);
            ASSERT_TRUE(recordWritten.Wait(30000)) << "no record was written";
            const std::int64_t start = NowMicroseconds();
            ASSERT_TRUE(WaitUntil(TakeoverFinished, 30000, 1));
            applyMicros = NowMicroseconds() - start;
            ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
        }
        ASSERT_TRUE(takenOver.Take());
        ASSERT_TRUE(takenOverRecord.Take());
        {
            const RegistryChangeWatch restoring(HKEY_CURRENT_USER, L"Software\\Classes");
            ASSERT_TRUE(restoring.Armed());
            QuorlenProcess uninstall;
            ASSERT_TRUE(uninstall.Start(install, L"/uninstall /silent"));
            ASSERT_TRUE(restoring.Wait(30000)) << "the uninstall command changed nothing";
            const std::int64_t start = NowMicroseconds();
            ASSERT_TRUE(WaitUntil([] { return !ReadTakeoverRecord(); }, 30000, 1));
            restoreMicros = NowMicroseconds() - start;
            DWORD exitCode = 1;
            ASSERT_TRUE(uninstall.WaitForExit(30000, exitCode));
        }
        ASSERT_EQ(Classes(), original) << "even an undisturbed takeover and undo differ";
    }

    void PutBackTakenOver() {
        ASSERT_TRUE(takenOver.PutBack());
        ASSERT_TRUE(takenOverRecord.PutBack());
    }

    void PutBackOriginal() {
        ASSERT_TRUE(originalClasses.PutBack());
        DeleteTakeoverRecord();
    }

    // Answers the start's question yes and kills the program inside the takeover.
    void KillDuringApply(std::mt19937& random) {
        QuorlenProcess quorlen;
        ASSERT_NE(StartToTheQuestion(quorlen), nullptr);
        const RegistryChangeWatch started(HKEY_CURRENT_USER, kProgramKey);
        ASSERT_TRUE(started.Armed());
        PostMessageW(FindMessageBox(quorlen.Id()), WM_COMMAND, IDYES, 0);
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

    // After a killed takeover, the next start finishes the job from the record
    // without asking, then asks afresh; answered no, the registry is the user's.
    void StartAfterTheKill() {
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(Answer(quorlen, L"是否现在接管", IDNO), L"");
        ASSERT_NO_FATAL_FAILURE(CloseQuorlen(quorlen, window));
    }

    // Whether a kill left the keys neither as they were nor as they were meant to end.
    static bool IsHalfDone(const Lines& before, const Lines& after) {
        const Lines now = Classes();
        return now != before && now != after;
    }

    Lines original;
    RegistryTreeCopy originalClasses{HKEY_CURRENT_USER, L"Software\\Classes"};
    RegistryTreeCopy takenOver{HKEY_CURRENT_USER, L"Software\\Classes"};
    RegistryTreeCopy takenOverRecord{HKEY_CURRENT_USER, kRecordKey};
    std::int64_t applyMicros = 0;
    std::int64_t restoreMicros = 0;
};

// A kill anywhere inside a takeover is undone exactly, by the next start or by
// the uninstall command; a kill anywhere inside an undo is finished by the next.
TEST_F(ReliabilityTakeoverKillTest, KillsInsideATakeoverOrAnUndoAreUndoneExactly) {
    std::mt19937 random(ReliabilitySeed());
    ASSERT_NO_FATAL_FAILURE(Calibrate());
    const Lines takenOverClasses = [&] {
        EXPECT_TRUE(takenOver.PutBack());
        Lines lines = Classes();
        EXPECT_TRUE(originalClasses.PutBack());
        return lines;
    }();
    const long long rounds = Scaled(8);
    long long halfWritten = 0;
    for (long long round = 0; round < rounds && !HasFailure(); ++round) {
        SCOPED_TRACE("takeover round " + std::to_string(round));
        ASSERT_NO_FATAL_FAILURE(PutBackOriginal());
        ASSERT_NO_FATAL_FAILURE(KillDuringApply(random));
        halfWritten += IsHalfDone(original, takenOverClasses);
        // A kill that came after the last write leaves a whole takeover.
        if (TakeoverFinished()) {
            EXPECT_EQ(Classes(), takenOverClasses);
            ASSERT_NO_FATAL_FAILURE(Uninstall());
        } else if (round % 2 == 0) {
            ASSERT_NO_FATAL_FAILURE(StartAfterTheKill());
        } else {
            ASSERT_NO_FATAL_FAILURE(Uninstall());
        }
        EXPECT_EQ(Classes(), original) << "the undo after the kill left the keys changed";
        EXPECT_FALSE(ReadTakeoverRecord());
    }
    RecordReliability({"kill during takeover apply", rounds, rounds,
                       std::to_string(halfWritten) + " kills left the keys half-written", 0});

    long long halfRestored = 0;
    for (long long round = 0; round < rounds && !HasFailure(); ++round) {
        SCOPED_TRACE("undo round " + std::to_string(round));
        ASSERT_NO_FATAL_FAILURE(PutBackTakenOver());
        ASSERT_NO_FATAL_FAILURE(KillDuringRestore(random));
        halfRestored += IsHalfDone(takenOverClasses, original);
        ASSERT_NO_FATAL_FAILURE(Uninstall());
        EXPECT_EQ(Classes(), original) << "the second undo did not finish the first";
        EXPECT_FALSE(ReadTakeoverRecord());
    }
    RecordReliability({"kill during takeover restore", rounds, rounds,
                       std::to_string(halfRestored) + " kills left the keys half-restored", 0});
}

}  // namespace
