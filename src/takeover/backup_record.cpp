#include "takeover/backup_record.h"

BackupRecord AbsentRecord() { return BackupRecord{true, false, RegistryString{}}; }

BackupRecord ReadBackupRecord(HKEY backup, const std::wstring& name) {
    const std::optional<DWORD> existed = ReadNumberValue(backup, (name + kExistedSuffix).c_str());
    if (!existed) return {};
    std::optional<RegistryString> value = ReadStringValue(backup, name.c_str());
    if (!value) return {};
    return BackupRecord{true, *existed != 0, std::move(*value)};
}

bool WriteBackupRecord(HKEY backup, const std::wstring& name, const BackupRecord& record) {
    // An absent value is recorded as the empty text, which the percent rule types.
    const DWORD type = record.existed ? record.value.type : PercentRuleType(record.value.text);
    return WriteStringValue(backup, name.c_str(), record.value.text, type) == ERROR_SUCCESS &&
           WriteNumberValue(backup, (name + kExistedSuffix).c_str(), record.existed ? 1 : 0) == ERROR_SUCCESS;
}

BackupRecord ChooseBackupRecord(const std::optional<RegistryString>& current, const BackupRecord& earlier,
                                const std::function<bool(const std::wstring&)>& isOurs) {
    if (!current) return AbsentRecord();
    if (!isOurs(current->text)) return BackupRecord{true, true, *current};
    const bool earlierUsable = earlier.present && !(earlier.existed && isOurs(earlier.value.text));
    return earlierUsable ? earlier : AbsentRecord();
}

BackupSnapshot ReadBackupSnapshot(HKEY backup) {
    BackupSnapshot snapshot;
    for (size_t i = 0; i < TakeoverKeys.size(); ++i) {
        snapshot.commands[i] = ReadBackupRecord(backup, TakeoverKeys[i].backupName);
    }
    for (size_t i = 0; i < TitleVerbKeys.size(); ++i) {
        snapshot.verbs[i] = ReadBackupRecord(backup, TitleVerbKeys[i].backupName);
    }
    return snapshot;
}
