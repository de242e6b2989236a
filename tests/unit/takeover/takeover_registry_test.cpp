#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
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
#include "takeover/takeover_backup.h"
#include "takeover/takeover_keys.h"
#include "takeover/takeover_record.h"
#include "ui/handles.h"

// These tests take over folders in the private prefix's real HKCU on behalf of
// a program in a temporary folder, and put everything back afterwards.

namespace {

using Lines = std::vector<std::wstring>;

constexpr wchar_t kShellDelegate[] = L"{11dbb47c-a525-400b-9e80-a54615a090c0}";
constexpr wchar_t kOtherManager[] = L"\"C:\\FM\\fm.exe\" \"%1\"";

class TakeoverRegistryTest : public ConfigFolderTest {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        ConfigFolderTest::SetUp();
        classesAside.emplace(HKEY_CURRENT_USER, L"Software\\Classes");
        programKeyAside.emplace(HKEY_CURRENT_USER, L"Software\\Quorlen");
        machineAside.emplace(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Folder\\shell\\open\\command");
        ASSERT_TRUE(classesAside->Ready() && programKeyAside->Ready() && machineAside->Ready());
        // On Windows the user's classes key always exists.
        UniqueKey classes;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_READ, nullptr,
                                  classes.put(), nullptr),
                  ERROR_SUCCESS);
        // The holder's config says the takeover is on, as the settings dialog leaves it.
        target = {folder.Path().wstring() + L"\\Quorlen.exe", folder.Path().wstring() + L"\\QuorlenLauncher.exe"};
        ASSERT_TRUE(CreateDirectoryW(HolderSettings().substr(0, HolderSettings().rfind(L'\\')).c_str(), nullptr));
        ASSERT_TRUE(WriteLines(HolderSettings(), {L"Takeover=1"}));
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
                                DWORD type = REG_SZ) {
        SetValue(HKEY_CURRENT_USER, ClassesPath(subkey), name, text, type);
    }

    static Lines Classes() { return ExportRegistryTree(HKEY_CURRENT_USER, L"Software\\Classes"); }
    static Lines ClassesKey(const std::wstring& subkey) {
        return ExportRegistryTree(HKEY_CURRENT_USER, ClassesPath(subkey));
    }

    [[nodiscard]] bool AllCommandsStartTheLauncher() const {
        for (const TakeoverKey& row : TakeoverKeys) {
            const std::optional<RegistryString> command = ReadClassesDefault(row.key);
            if (!command || command->text != BuildDirectCommand(target.launcher, row.argumentTemplate)) return false;
        }
        return true;
    }

    [[nodiscard]] std::wstring HolderSettings() const { return folder.Path().wstring() + L"\\config\\settings.txt"; }

    [[nodiscard]] Lines Settings() const {
        Lines lines;
        EXPECT_TRUE(TryReadLines(HolderSettings(), lines));
        return lines;
    }

    // A user's registry as other programs leave it: another file manager with
    // the empty delegate it needs, an expandable command, a machine-wide
    // delegate, a caption, a value of another type, and a key that exists
    // without the command below it.
    void SeedAnotherUsersClasses() {
        SetClassesValue(L"Directory\\shell\\open\\command", nullptr, kOtherManager);
        SetClassesValue(L"Directory\\shell\\open\\command", kDelegateExecuteValue, L"");
        SetClassesValue(L"Drive\\shell\\open\\command", nullptr, L"%SystemRoot%\\Explorer.exe /e,\"%1\"",
                        REG_EXPAND_SZ);
        SetValue(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Folder\\shell\\open\\command", kDelegateExecuteValue,
                 kShellDelegate, REG_SZ);
        SetClassesValue(L"Folder\\shell\\open\\command", nullptr, L"");
        SetClassesValue(L"Folder\\shell\\opennewprocess", kMenuCaptionValue, L"Open elsewhere");
        UniqueKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ClassesPath(L"DesktopFolder\\shell\\open").c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        const DWORD odd = 7;
        ASSERT_EQ(RegSetValueExW(key.get(), L"Odd", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&odd), sizeof(odd)),
                  ERROR_SUCCESS);
    }

    TakeoverTarget target;
    std::optional<RegistryKeySetAside> classesAside;
    std::optional<RegistryKeySetAside> programKeyAside;
    std::optional<RegistryKeySetAside> machineAside;
};

TEST_F(TakeoverRegistryTest, ApplyThenRestorePutsBackEveryKeyByteForByte) {
    ASSERT_NO_FATAL_FAILURE(SeedAnotherUsersClasses());
    const Lines before = Classes();

    std::wstring error = L"untouched";
    ASSERT_TRUE(ApplyTakeoverTo(target, &error));
    EXPECT_EQ(error, L"untouched");
    EXPECT_TRUE(AllCommandsStartTheLauncher());
    EXPECT_TRUE(ClassesKey(kLegacyNewWindowKey.key).empty()) << "opennewwindow is left to the system";
    const std::optional<TakeoverRecord> record = ReadTakeoverRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->phase, RecordPhase::Applied);
    EXPECT_EQ(record->program, target.program);
    // Applying again keeps the record of the state before the first takeover.
    ASSERT_TRUE(ApplyTakeoverTo(target, nullptr));
    EXPECT_EQ(ReadTakeoverRecord()->states, record->states);

    ASSERT_TRUE(RestoreTakeover(&error));
    EXPECT_EQ(error, L"untouched");
    EXPECT_EQ(Classes(), before) << "the machine's delegate must not be copied in, nor ours left behind";
    EXPECT_FALSE(ReadTakeoverRecord());
    const Lines settings = Settings();
    EXPECT_NE(std::find(settings.begin(), settings.end(), L"Takeover=0"), settings.end());
    EXPECT_EQ(std::find(settings.begin(), settings.end(), L"Takeover=1"), settings.end());
    // A second undo finds nothing left to do, and that is no failure.
    EXPECT_TRUE(RestoreTakeover(&error));
    EXPECT_EQ(Classes(), before);
}

TEST_F(TakeoverRegistryTest, AKeyThatCannotBeWrittenUndoesTheWholeTakeoverAndIsNamed) {
    ASSERT_NO_FATAL_FAILURE(SeedAnotherUsersClasses());
    ASSERT_TRUE(CreateVolatileKey(HKEY_CURRENT_USER, ClassesPath(L"LibraryFolder\\shell\\open")));
    const Lines before = Classes();

    std::wstring error;
    EXPECT_FALSE(ApplyTakeoverTo(target, &error));
    EXPECT_NE(error.find(L"LibraryFolder\\shell\\open\\command"), std::wstring::npos) << NarrowForTest(error);
    EXPECT_NE(error.find(L"安全软件"), std::wstring::npos);
    EXPECT_EQ(Classes(), before);
    EXPECT_FALSE(ReadTakeoverRecord());
}

// The listing without the blocks of the keys below these paths.
Lines Without(const Lines& lines, const std::vector<std::wstring>& subkeys) {
    Lines kept;
    bool skipping = false;
    for (const std::wstring& line : lines) {
        if (line.starts_with(L"[")) {
            skipping = false;
            for (const std::wstring& subkey : subkeys) skipping = skipping || line.starts_with(L"[" + subkey);
        }
        if (!skipping) kept.push_back(line);
    }
    return kept;
}

TEST_F(TakeoverRegistryTest, RestoreLeavesOthersKeysAloneAndCountsMissingOnesAsRestored) {
    ASSERT_NO_FATAL_FAILURE(SeedAnotherUsersClasses());
    const Lines before = Classes();
    ASSERT_TRUE(ApplyTakeoverTo(target, nullptr));
    // Since the takeover another program took one key, and the user deleted another.
    SetClassesValue(L"Directory\\shell\\open\\command", nullptr, L"\"D:\\new.exe\" \"%1\"");
    const Lines theirs = ClassesKey(L"Directory\\shell\\open\\command");
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, ClassesPath(L"Drive\\shell\\open\\command").c_str()), ERROR_SUCCESS);

    ASSERT_TRUE(RestoreTakeover(nullptr));
    EXPECT_EQ(ClassesKey(L"Directory\\shell\\open\\command"), theirs);
    EXPECT_TRUE(ClassesKey(L"Drive\\shell\\open\\command").empty());
    const std::vector<std::wstring> changed = {L"Directory\\shell\\open", L"Drive"};
    EXPECT_EQ(Without(Classes(), changed), Without(before, changed));
    EXPECT_FALSE(ReadTakeoverRecord());
}

TEST_F(TakeoverRegistryTest, ADamagedRecordStillTakesOurValuesAway) {
    ASSERT_NO_FATAL_FAILURE(SeedAnotherUsersClasses());
    const Lines before = Classes();
    ASSERT_TRUE(ApplyTakeoverTo(target, nullptr));
    {
        UniqueKey record;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, KEY_SET_VALUE, record.put()), ERROR_SUCCESS);
        const BYTE garbage[] = {1, 2, 3};
        ASSERT_EQ(RegSetValueExW(record.get(), TakeoverKeys[8].backupName, 0, REG_BINARY, garbage, sizeof(garbage)),
                  ERROR_SUCCESS);
    }
    ASSERT_TRUE(RestoreTakeover(nullptr));
    // The key it described had no earlier state to go back to, so it goes back
    // to holding nothing of ours; every other key is exact.
    EXPECT_FALSE(ReadClassesDefault(TakeoverKeys[8].key));
    EXPECT_EQ(Without(Classes(), {L"Applications"}), Without(before, {L"Applications"}));
}

// An earlier version pointed the keys at the program itself (or at the command
// interpreter once it had ended) and kept a backup key of its own. That
// takeover is carried over without a question, and undoing it later brings
// back what that backup recorded.
TEST_F(TakeoverRegistryTest, AnEarlierVersionsTakeoverIsCarriedOverAndUndoneFromItsBackup) {
    SetClassesValue(L"Directory\\shell\\open\\command", nullptr, kOtherManager);
    const Lines before = Classes();
    {
        UniqueKey backup;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kBackupKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, backup.put(),
                                  nullptr),
                  ERROR_SUCCESS);
        auto record = [&](const wchar_t* name, const std::wstring& text, DWORD existed) {
            ASSERT_EQ(WriteStringValue(backup.get(), name, text, REG_SZ), ERROR_SUCCESS);
            ASSERT_EQ(WriteNumberValue(backup.get(), (std::wstring(name) + kExistedSuffix).c_str(), existed),
                      ERROR_SUCCESS);
        };
        for (const TakeoverKey& row : TakeoverKeys) record(row.backupName, L"", 0);
        record(kLegacyNewWindowKey.backupName, L"", 0);
        record(L"DirOpen", kOtherManager, 1);
        for (const TitleVerbKey& verb : TitleVerbKeys) record(verb.backupName, L"", 0);
    }
    for (const TakeoverKey& row : TakeoverKeys) {
        SetClassesValue(row.key, nullptr, BuildFallbackCommand(target.program, row.argumentTemplate), REG_EXPAND_SZ);
        SetClassesValue(row.key, kDelegateExecuteValue, L"");
    }
    SetClassesValue(kLegacyNewWindowKey.key, nullptr, BuildDirectCommand(target.program, L"\"%1\""), REG_EXPAND_SZ);
    for (const TitleVerbKey& verb : TitleVerbKeys) SetClassesValue(verb.key, kMenuCaptionValue, kMenuCaption);
    SetClassesValue(kApplicationKey, kFriendlyAppNameValue, kFriendlyAppName);

    CarryOverEarlierTakeover(target);
    EXPECT_TRUE(AllCommandsStartTheLauncher());
    EXPECT_TRUE(ClassesKey(kLegacyNewWindowKey.key).empty());
    EXPECT_TRUE(ExportRegistryTree(HKEY_CURRENT_USER, kBackupKey).empty());
    ASSERT_TRUE(ReadTakeoverRecord());

    ASSERT_TRUE(RestoreTakeover(nullptr));
    EXPECT_EQ(Classes(), before);
}

}  // namespace
