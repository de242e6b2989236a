#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "../settings/config_folder_fixture.h"
#include "common/private_prefix.h"
#include "common/registry_export.h"
#include "common/registry_set_aside.h"
#include "settings/line_file.h"
#include "takeover/command_lines.h"
#include "takeover/registry_values.h"
#include "takeover/takeover.h"
#include "takeover/takeover_backup.h"
#include "takeover/takeover_documents.h"
#include "takeover/takeover_keys.h"
#include "takeover/uninstall.h"
#include "ui/handles.h"

// These tests take over folders in the private prefix's real HKCU on behalf of
// this test program and put everything back afterwards.

namespace {

using Lines = std::vector<std::wstring>;

constexpr wchar_t kShellDelegate[] = L"{11dbb47c-a525-400b-9e80-a54615a090c0}";

class TakeoverRegistryTest : public ConfigFolderTest {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        ConfigFolderTest::SetUp();
        classesAside.emplace(HKEY_CURRENT_USER, L"Software\\Classes");
        // The backup key's parent too: creating the backup key creates it.
        programKeyAside.emplace(HKEY_CURRENT_USER, L"Software\\Quorlen");
        machineAside.emplace(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Folder\\shell\\open\\command");
        ASSERT_TRUE(classesAside->Ready() && programKeyAside->Ready() && machineAside->Ready());
        // On Windows the user's classes key always exists.
        UniqueKey classes;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_READ, nullptr,
                                  classes.put(), nullptr),
                  ERROR_SUCCESS);
        exe = ExecutablePath();
        ASSERT_FALSE(exe.empty());
    }
    void TearDown() override {
        machineAside.reset();
        programKeyAside.reset();
        classesAside.reset();
        ConfigFolderTest::TearDown();
    }

    static void SetValue(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text,
                         DWORD type) {
        UniqueKey key;
        ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(WriteStringValue(key.get(), name, text, type), ERROR_SUCCESS);
    }
    static void SetClassesValue(const std::wstring& subkey, const wchar_t* name, const std::wstring& text,
                                DWORD type) {
        SetValue(HKEY_CURRENT_USER, ClassesPath(subkey), name, text, type);
    }

    static Lines Classes() { return ExportRegistryTree(HKEY_CURRENT_USER, L"Software\\Classes"); }
    static Lines Backup() { return ExportRegistryTree(HKEY_CURRENT_USER, kBackupKey); }
    static Lines ClassesKey(const std::wstring& subkey) {
        return ExportRegistryTree(HKEY_CURRENT_USER, ClassesPath(subkey));
    }
    static std::optional<RegistryString> Caption(const wchar_t* verbKey) {
        UniqueKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, ClassesPath(verbKey).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return ReadStringValue(key.get(), kMenuCaptionValue);
    }

    // How the export lists a string value: its units with the terminator.
    static std::wstring StringLine(const std::wstring& name, const std::wstring& text, DWORD type) {
        return L"  " + name + L" = type=" + std::to_wstring(type) + L" bytes=" +
               std::to_wstring((text.size() + 1) * 2) + L" " + text + L"\\0";
    }

    // A command key as the takeover leaves it, holding this command.
    static Lines CommandKeyHolding(const std::wstring& command) {
        return {L"[]", StringLine(L"(default)", command, REG_EXPAND_SZ), StringLine(L"DelegateExecute", L"", REG_SZ)};
    }

    std::wstring exe;
    std::optional<RegistryKeySetAside> classesAside;
    std::optional<RegistryKeySetAside> programKeyAside;
    std::optional<RegistryKeySetAside> machineAside;
};

TEST_F(TakeoverRegistryTest, ApplyOnACleanProfileThenRestoreLeavesEverythingAsBefore) {
    const Lines before = Classes();
    EXPECT_FALSE(IsTakeoverActive());
    EXPECT_FALSE(IsAnyKeyOurs());

    std::wstring error = L"untouched";
    ASSERT_TRUE(ApplyTakeover(&error));
    EXPECT_EQ(error, L"untouched");

    Lines expectedBackup = {L"[]"};
    for (const wchar_t* name :
         {L"AppOpen", L"BgOpen", L"DeskOpen", L"DirOpen", L"DirOpenNew", L"DirOpenNewTitle", L"DriveOpen",
          L"FolderOpen", L"FolderOpenNew", L"FolderOpenNewTitle", L"FolderOpenWin", L"LibOpen"}) {
        expectedBackup.push_back(StringLine(name, L"", REG_SZ));
        expectedBackup.push_back(L"  " + std::wstring(name) + L"_Existed = type=4 bytes=4 00000000");
    }
    std::sort(expectedBackup.begin() + 1, expectedBackup.end());
    EXPECT_EQ(Backup(), expectedBackup);

    for (const TakeoverKey& row : TakeoverKeys) {
        EXPECT_EQ(ClassesKey(row.key), CommandKeyHolding(BuildDirectCommand(exe, row.argumentTemplate)));
    }
    for (const TitleVerbKey& verb : TitleVerbKeys) {
        EXPECT_EQ(Caption(verb.key), (RegistryString{L"新标签页打开", REG_SZ}));
    }
    UniqueKey application = OpenClassesKey(kApplicationKey, KEY_READ);
    ASSERT_TRUE(application);
    EXPECT_EQ(ReadStringValue(application.get(), L"FriendlyAppName"), (RegistryString{L"Quorlen", REG_SZ}));
    application.reset();
    EXPECT_TRUE(IsTakeoverActive());
    EXPECT_TRUE(AreCommandsDirect());

    // The report is rewritten from the new backup.
    BackupSnapshot allAbsent;
    for (BackupRecord& record : allAbsent.commands) record = AbsentRecord();
    for (BackupRecord& record : allAbsent.verbs) record = AbsentRecord();
    std::vector<std::wstring> report;
    ASSERT_TRUE(TryReadLines(ConfigFolder() + kTakeoverReportFileName, report));
    Lines expectedReport = TakeoverReportLines(allAbsent);
    std::erase(expectedReport, L"");
    EXPECT_EQ(report, expectedReport);

    ASSERT_TRUE(RestoreTakeover(&error));
    EXPECT_EQ(error, L"untouched");
    EXPECT_EQ(Classes(), before);
    EXPECT_EQ(Backup(), expectedBackup) << "the backup stays after a restore";
    EXPECT_FALSE(IsAnyKeyOurs());
}

TEST_F(TakeoverRegistryTest, RoundTripKeepsTheUsersCommandsTheirTypesAndTheMachineDelegate) {
    const std::wstring expandable = L"%SystemRoot%\\Explorer.exe /idlist,%I,%L";
    const std::wstring plainWithPercent = L"\"D:\\fm.exe\" \"%1\"";
    SetClassesValue(L"Directory\\shell\\open\\command", nullptr, expandable, REG_EXPAND_SZ);
    SetClassesValue(L"Folder\\shell\\open\\command", nullptr, plainWithPercent, REG_SZ);
    SetClassesValue(L"Folder\\shell\\open\\command", kDelegateExecuteValue, kShellDelegate, REG_SZ);
    SetValue(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Folder\\shell\\open\\command", kDelegateExecuteValue,
             kShellDelegate, REG_SZ);
    SetClassesValue(L"Drive\\shell\\open\\command", nullptr, L"", REG_SZ);
    SetClassesValue(L"Drive\\shell\\open\\command", L"Other", L"kept", REG_SZ);
    SetClassesValue(L"Folder\\shell\\opennewprocess", kMenuCaptionValue, L"Open elsewhere", REG_SZ);
    const Lines before = Classes();

    ASSERT_TRUE(ApplyTakeover(nullptr));
    const Lines backup = Backup();
    auto has = [&backup](const std::wstring& line) {
        return std::find(backup.begin(), backup.end(), line) != backup.end();
    };
    EXPECT_TRUE(has(StringLine(L"DirOpen", expandable, REG_EXPAND_SZ)));
    EXPECT_TRUE(has(StringLine(L"FolderOpen", plainWithPercent, REG_SZ)));
    EXPECT_TRUE(has(L"  FolderOpen_Existed = type=4 bytes=4 01000000"));
    EXPECT_TRUE(has(StringLine(L"DriveOpen", L"", REG_SZ)));
    EXPECT_TRUE(has(L"  DriveOpen_Existed = type=4 bytes=4 01000000"));
    EXPECT_TRUE(has(StringLine(L"FolderOpenNewTitle", L"Open elsewhere", REG_SZ)));
    EXPECT_TRUE(IsTakeoverActive());

    ASSERT_TRUE(RestoreTakeover(nullptr));
    EXPECT_EQ(Classes(), before);
}

TEST_F(TakeoverRegistryTest, ExitStartAndReapplyKeepTheBackupOfTheFirstApply) {
    SetClassesValue(L"Directory\\shell\\open\\command", nullptr, L"\"D:\\fm.exe\" \"%1\"", REG_SZ);
    SetClassesValue(L"Folder\\shell\\opennewprocess", kMenuCaptionValue, L"Open elsewhere", REG_SZ);
    const Lines before = Classes();
    ASSERT_TRUE(ApplyTakeover(nullptr));
    const Lines firstBackup = Backup();

    SwitchToFallbackAtExit();
    for (const TakeoverKey& row : TakeoverKeys) {
        EXPECT_EQ(ClassesKey(row.key), CommandKeyHolding(BuildFallbackCommand(exe, row.argumentTemplate)));
    }
    // Were the takeover not in force here, the start-up check below would restart
    // Explorer from inside the unit tests.
    ASSERT_TRUE(IsTakeoverActive());
    EXPECT_FALSE(AreCommandsDirect());

    // The next start puts the direct form back; the keys were ours all along.
    CheckTakeoverAtStartup(true);
    EXPECT_TRUE(AreCommandsDirect());
    EXPECT_EQ(Backup(), firstBackup);

    // Switching it on again in the settings changes nothing of the backup either.
    ASSERT_TRUE(ApplyTakeover(nullptr));
    SwitchToFallbackAtExit();
    ASSERT_TRUE(ApplyTakeover(nullptr));
    EXPECT_EQ(Backup(), firstBackup);

    ASSERT_TRUE(RestoreTakeover(nullptr));
    EXPECT_EQ(Classes(), before);
}

TEST_F(TakeoverRegistryTest, ReapplyWithTheBackupLostRestoresToTheSystemDefault) {
    const Lines before = Classes();
    ASSERT_TRUE(ApplyTakeover(nullptr));
    SwitchToFallbackAtExit();
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, kBackupKey), ERROR_SUCCESS);

    ASSERT_TRUE(ApplyTakeover(nullptr));
    EXPECT_EQ(Backup().size(), 25u);
    ASSERT_TRUE(RestoreTakeover(nullptr));
    EXPECT_EQ(Classes(), before) << "our own commands must not come back as the user's";
}

TEST_F(TakeoverRegistryTest, ASecondRestoreFindsTheKeysGoneAndFails) {
    ASSERT_TRUE(ApplyTakeover(nullptr));
    ASSERT_TRUE(RestoreTakeover(nullptr));
    std::wstring error;
    EXPECT_FALSE(RestoreTakeover(&error));
    EXPECT_EQ(error, L"部分键恢复失败");
}

TEST_F(TakeoverRegistryTest, RestoreLeavesAloneWhatOthersSetSinceAndWhatItNeverTookOver) {
    // Never taken over: a restore (as the uninstall command runs it) keeps the user's command.
    SetClassesValue(L"Drive\\shell\\open\\command", nullptr, L"\"D:\\drive.exe\" \"%1\"", REG_SZ);
    const Lines userDrive = ClassesKey(L"Drive\\shell\\open\\command");
    EXPECT_FALSE(RestoreTakeover(nullptr));
    EXPECT_EQ(ClassesKey(L"Drive\\shell\\open\\command"), userDrive);

    ASSERT_TRUE(ApplyTakeover(nullptr));
    SetClassesValue(L"Folder\\shell\\open\\command", nullptr, L"\"D:\\other.exe\" \"%1\"", REG_SZ);
    const Lines other = ClassesKey(L"Folder\\shell\\open\\command");
    EXPECT_TRUE(RestoreTakeover(nullptr));
    EXPECT_EQ(ClassesKey(L"Folder\\shell\\open\\command"), other);
    EXPECT_EQ(ClassesKey(L"Drive\\shell\\open\\command"), userDrive);
    EXPECT_FALSE(IsAnyKeyOurs());
}

TEST_F(TakeoverRegistryTest, ActiveOnlyWithAllTenKeysOursAndNoDelegate) {
    ASSERT_TRUE(ApplyTakeover(nullptr));
    ASSERT_TRUE(IsTakeoverActive());

    // Letter case of the path does not matter.
    std::wstring upper = exe;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
    SetClassesValue(TakeoverKeys[3].key, nullptr, BuildDirectCommand(upper, L"\"%1\""), REG_EXPAND_SZ);
    EXPECT_TRUE(IsTakeoverActive());

    SetClassesValue(TakeoverKeys[4].key, kDelegateExecuteValue, kShellDelegate, REG_SZ);
    EXPECT_FALSE(IsTakeoverActive());
    EXPECT_TRUE(AreCommandsDirect());
    SetClassesValue(TakeoverKeys[4].key, kDelegateExecuteValue, L"", REG_SZ);

    SetClassesValue(TakeoverKeys[5].key, nullptr, L"CMD /C start x", REG_SZ);
    EXPECT_FALSE(AreCommandsDirect());

    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, ClassesPath(TakeoverKeys[7].key).c_str()), ERROR_SUCCESS);
    EXPECT_FALSE(IsTakeoverActive());
    EXPECT_FALSE(AreCommandsDirect());
    EXPECT_TRUE(IsAnyKeyOurs());
}

TEST_F(TakeoverRegistryTest, SwitchingAtExitOrStartNeedsTheTakeoverInForce) {
    const Lines before = Classes();
    SwitchToFallbackAtExit();
    CheckTakeoverAtStartup(false);
    EXPECT_EQ(Classes(), before);
    EXPECT_TRUE(Backup().empty());
}

TEST_F(TakeoverRegistryTest, DeletingTakeoverKeysCountsMissingKeysAsDeleted) {
    std::wstring error = L"untouched";
    EXPECT_TRUE(DeleteTakeoverKeys(&error));
    ASSERT_TRUE(ApplyTakeover(nullptr));
    EXPECT_TRUE(DeleteTakeoverKeys(&error));
    EXPECT_EQ(error, L"untouched");
    EXPECT_FALSE(IsAnyKeyOurs());
    for (const TakeoverKey& row : TakeoverKeys) EXPECT_TRUE(ClassesKey(row.key).empty()) << row.backupName;
}

TEST_F(TakeoverRegistryTest, DeletingTakeoverKeysLeavesKeysThatNoLongerNameUs) {
    ASSERT_TRUE(ApplyTakeover(nullptr));
    // Since the takeover, the user gave one row back to another program.
    const TakeoverKey& mine = TakeoverKeys[0];
    const TakeoverKey& theirs = TakeoverKeys[7];
    SetClassesValue(theirs.key, nullptr, L"\"C:\\Tools\\Other.exe\" \"%1\"", REG_EXPAND_SZ);
    const Lines theirsBefore = ClassesKey(theirs.key);

    EXPECT_TRUE(DeleteTakeoverKeys(nullptr));
    EXPECT_TRUE(ClassesKey(mine.key).empty());
    EXPECT_EQ(ClassesKey(theirs.key), theirsBefore);
    EXPECT_FALSE(IsAnyKeyOurs());
}

// A takeover or a restore ended part-way (the process killed) leaves keys that
// a whole restore removes; the next restore finishes the job from there.
TEST_F(TakeoverRegistryTest, ATakeoverOrRestoreEndedPartWayIsFinishedByTheNextRestore) {
    SetClassesValue(L"Folder\\shell\\opennewprocess", kMenuCaptionValue, L"Open elsewhere", REG_SZ);
    const Lines before = Classes();
    ASSERT_TRUE(ApplyTakeover(nullptr));
    ASSERT_TRUE(RestoreTakeover(nullptr));
    ASSERT_EQ(Classes(), before);

    // A restore ended after deleting a command key but before the empty keys
    // above it, and after taking a caption away but before its then empty verb
    // key; a takeover ended while creating a key's path one level at a time.
    for (const wchar_t* left : {L"DesktopFolder\\shell\\open", L"Directory\\shell\\opennewprocess", L"Applications"}) {
        UniqueKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ClassesPath(left).c_str(), 0, nullptr, 0, KEY_READ, nullptr,
                                  key.put(), nullptr),
                  ERROR_SUCCESS);
    }

    (void)RestoreTakeover(nullptr);
    EXPECT_EQ(Classes(), before);
}

// The program ran under another name or from another folder when it last took
// over, and ended without switching to the fallback form. Its commands under
// that name are still its own: neither backed up as the user's nor kept by a
// restore.
TEST_F(TakeoverRegistryTest, CommandsOfTheProgramUnderAnEarlierNameAreItsOwn) {
    SetClassesValue(L"Directory\\shell\\open\\command", nullptr, L"\"D:\\fm.exe\" \"%1\"", REG_SZ);
    const Lines before = Classes();
    ASSERT_TRUE(ApplyTakeover(nullptr));
    const Lines firstBackup = Backup();

    const std::wstring earlier = L"C:\\Old Place\\Earlier Name.exe";
    for (const TakeoverKey& row : TakeoverKeys) {
        SetClassesValue(row.key, nullptr, BuildDirectCommand(earlier, row.argumentTemplate), REG_EXPAND_SZ);
    }
    ASSERT_TRUE(ApplyTakeover(nullptr));
    EXPECT_EQ(Backup(), firstBackup);

    for (const TakeoverKey& row : TakeoverKeys) {
        SetClassesValue(row.key, nullptr, BuildDirectCommand(earlier, row.argumentTemplate), REG_EXPAND_SZ);
    }
    ASSERT_TRUE(RestoreTakeover(nullptr));
    EXPECT_EQ(Classes(), before);
}

}  // namespace
