#include "takeover/backup_record.h"

#include <gtest/gtest.h>

#include "takeover/command_lines.h"

namespace {

const std::wstring kExe = L"C:\\Tools\\Quorlen.exe";
const std::wstring kTemplate = L"\"%1\"";

bool IsOurs(const std::wstring& value) { return IsOwnCommand(value, kExe, kTemplate); }

const BackupRecord kNoRecord{};
const BackupRecord kAbsent{true, false, {L"", REG_SZ}};
const RegistryString kUserCommand{L"%SystemRoot%\\Explorer.exe /idlist,%I,%L", REG_EXPAND_SZ};
const BackupRecord kUserRecord{true, true, kUserCommand};

TEST(ChooseBackupRecord, RecordsWhatIsThereWhenItIsNotOurs) {
    EXPECT_EQ(ChooseBackupRecord(kUserCommand, kNoRecord, IsOurs), kUserRecord);
    // A stale earlier record is replaced by what the user has now.
    const RegistryString plain{L"\"D:\\fm.exe\" \"%1\"", REG_SZ};
    EXPECT_EQ(ChooseBackupRecord(plain, kUserRecord, IsOurs), (BackupRecord{true, true, plain}));
    const RegistryString empty{L"", REG_SZ};
    EXPECT_EQ(ChooseBackupRecord(empty, kUserRecord, IsOurs), (BackupRecord{true, true, empty}));
}

TEST(ChooseBackupRecord, AMissingValueIsRecordedAsAbsent) {
    EXPECT_EQ(ChooseBackupRecord(std::nullopt, kUserRecord, IsOurs), kAbsent);
    EXPECT_EQ(ChooseBackupRecord(std::nullopt, kNoRecord, IsOurs), kAbsent);
}

TEST(ChooseBackupRecord, OurOwnCommandKeepsTheEarlierRecord) {
    for (const std::wstring& ours : {BuildDirectCommand(kExe, kTemplate), BuildFallbackCommand(kExe, kTemplate),
                                     BuildFallbackCommand(L"E:\\Moved\\Quorlen.exe", kTemplate)}) {
        const RegistryString current{ours, REG_EXPAND_SZ};
        EXPECT_EQ(ChooseBackupRecord(current, kUserRecord, IsOurs), kUserRecord);
        EXPECT_EQ(ChooseBackupRecord(current, kAbsent, IsOurs), kAbsent);
    }
}

TEST(ChooseBackupRecord, OurOwnCommandWithoutUsableEarlierRecordIsRecordedAsAbsent) {
    const RegistryString current{BuildFallbackCommand(kExe, kTemplate), REG_EXPAND_SZ};
    EXPECT_EQ(ChooseBackupRecord(current, kNoRecord, IsOurs), kAbsent);
    // An earlier record that holds our own command does not describe the state before us.
    const BackupRecord ownRecorded{true, true, {BuildDirectCommand(kExe, kTemplate), REG_EXPAND_SZ}};
    EXPECT_EQ(ChooseBackupRecord(current, ownRecorded, IsOurs), kAbsent);
}

}  // namespace
