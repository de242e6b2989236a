#include "takeover/backup_record.h"

#include "takeover/takeover_keys.h"

BackupRecord ReadBackupRecord(HKEY backup, const std::wstring& name) {
    const std::optional<DWORD> existed = ReadNumberValue(backup, (name + kExistedSuffix).c_str());
    if (!existed) return {};
    std::optional<RegistryString> value = ReadStringValue(backup, name.c_str());
    if (!value) return {};
    return BackupRecord{true, *existed != 0, std::move(*value)};
}
