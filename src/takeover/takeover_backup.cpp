#include "takeover/takeover_backup.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "takeover/backup_record.h"
#include "takeover/command_lines.h"
#include "takeover/error_text.h"
#include "takeover/registry_values.h"
#include "takeover/takeover.h"
#include "takeover/takeover_documents.h"
#include "takeover/takeover_keys.h"

namespace {

constexpr REGSAM kBackupAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

std::optional<RegistryString> ReadMenuCaption(const wchar_t* verbKey) {
    const UniqueKey key = OpenClassesKey(verbKey, KEY_READ);
    if (!key) return std::nullopt;
    return ReadStringValue(key.get(), kMenuCaptionValue);
}

bool IsOurCaption(const std::wstring& caption) { return caption == kMenuCaption; }

// The executable that wrote the commands now in place. Only this program writes
// its own application key's command, so the program named there is this one,
// perhaps under an earlier name or in an earlier folder.
std::wstring EarlierExecutable() {
    const auto application = std::find_if(TakeoverKeys.begin(), TakeoverKeys.end(), [](const TakeoverKey& row) {
        return std::wstring_view(row.key).starts_with(kApplicationKey);
    });
    if (application == TakeoverKeys.end()) return {};
    const std::optional<RegistryString> command = ReadClassesDefault(application->key);
    return command ? ProgramOfOwnForm(command->text, application->argumentTemplate) : std::wstring();
}

// Whether a command key's value is one this program wrote, under its present
// name or the one it ran under when it wrote the commands.
bool IsOurCommand(const std::wstring& value, const TakeoverKey& row, const std::wstring& exe,
                  const std::wstring& earlierExe) {
    return IsOwnCommand(value, exe, row.argumentTemplate) ||
           (!earlierExe.empty() && IsOwnCommand(value, earlierExe, row.argumentTemplate));
}

// Records every row before anything is changed; false when any record could not
// be written, since changing a key whose state is not kept would lose it.
bool BackUpRows(HKEY backup, const std::wstring& exe) {
    bool complete = true;
    const std::wstring earlierExe = EarlierExecutable();
    for (const TakeoverKey& row : TakeoverKeys) {
        const auto isOurs = [&](const std::wstring& value) { return IsOurCommand(value, row, exe, earlierExe); };
        const BackupRecord record =
            ChooseBackupRecord(ReadClassesDefault(row.key), ReadBackupRecord(backup, row.backupName), isOurs);
        complete = WriteBackupRecord(backup, row.backupName, record) && complete;
    }
    for (const TitleVerbKey& verb : TitleVerbKeys) {
        const BackupRecord record = ChooseBackupRecord(ReadMenuCaption(verb.key),
                                                       ReadBackupRecord(backup, verb.backupName), IsOurCaption);
        complete = WriteBackupRecord(backup, verb.backupName, record) && complete;
    }
    return complete;
}

// False when any key could not be opened, created or written.
bool WriteDirectCommands(const std::wstring& exe) {
    bool complete = true;
    for (const TakeoverKey& row : TakeoverKeys) {
        const UniqueKey key = OpenOrCreateClassesKey(row.key);
        if (!key) {
            complete = false;
            continue;
        }
        const LSTATUS command =
            WriteStringValue(key.get(), nullptr, BuildDirectCommand(exe, row.argumentTemplate), REG_EXPAND_SZ);
        // An empty delegate makes the shell run the command line.
        const LSTATUS delegate = WriteStringValue(key.get(), kDelegateExecuteValue, L"", REG_SZ);
        if (command != ERROR_SUCCESS || delegate != ERROR_SUCCESS) complete = false;
    }
    for (const TitleVerbKey& verb : TitleVerbKeys) {
        const UniqueKey key = OpenOrCreateClassesKey(verb.key);
        if (!key || WriteStringValue(key.get(), kMenuCaptionValue, kMenuCaption,
                                     PercentRuleType(kMenuCaption)) != ERROR_SUCCESS) {
            complete = false;
        }
    }
    // The display name is a nicety; failing to set it fails nothing.
    if (const UniqueKey application = OpenOrCreateClassesKey(kApplicationKey)) {
        WriteStringValue(application.get(), kFriendlyAppNameValue, kFriendlyAppName, REG_SZ);
    }
    return complete;
}

// The user's command comes back with the machine's delegate object, if the
// machine-wide class has one; any other delegate goes. The command is written
// last: until then the key still holds ours, so a restore ended in between
// is taken up again by the next one rather than leaving our empty delegate.
bool RestoreCommand(const TakeoverKey& row, const RegistryString& recorded) {
    const UniqueKey key = OpenOrCreateClassesKey(row.key);
    if (!key) return false;
    UniqueKey machine;
    std::optional<RegistryString> delegate;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ClassesPath(row.key).c_str(), 0, KEY_READ, machine.put()) ==
        ERROR_SUCCESS) {
        delegate = ReadStringValue(machine.get(), kDelegateExecuteValue);
    }
    if (delegate) {
        WriteStringValue(key.get(), kDelegateExecuteValue, *delegate);
    } else {
        RegDeleteValueW(key.get(), kDelegateExecuteValue);
    }
    return WriteStringValue(key.get(), nullptr, recorded) == ERROR_SUCCESS;
}

// Deletes the command key, and the keys above it that the takeover had to create.
// Those go also when the command key is gone already: a restore ended between
// the two leaves them behind.
bool DeleteCommandKey(const TakeoverKey& row) {
    const bool deleted = RegDeleteTreeW(HKEY_CURRENT_USER, ClassesPath(row.key).c_str()) == ERROR_SUCCESS;
    DeleteEmptyClassesKeysAbove(row.key);
    return deleted;
}

// False when any row could not be put back.
bool RestoreCommandRows(HKEY backup, const std::wstring& exe) {
    bool complete = true;
    const std::wstring earlierExe = EarlierExecutable();
    for (const TakeoverKey& row : TakeoverKeys) {
        const BackupRecord record = ReadBackupRecord(backup, row.backupName);
        // What the user or another program has set since the takeover is theirs.
        const std::optional<RegistryString> current = ReadClassesDefault(row.key);
        if (current && !IsOurCommand(current->text, row, exe, earlierExe)) continue;
        const bool restored = record.present && record.existed ? RestoreCommand(row, record.value)
                                                               : DeleteCommandKey(row);
        complete = restored && complete;
    }
    return complete;
}

void RestoreMenuCaptions(HKEY backup) {
    for (const TitleVerbKey& verb : TitleVerbKeys) {
        const BackupRecord record = ReadBackupRecord(backup, verb.backupName);
        const std::optional<RegistryString> current = ReadMenuCaption(verb.key);
        if (!current || !IsOurCaption(current->text)) continue;
        if (const UniqueKey key = OpenClassesKey(verb.key, KEY_SET_VALUE)) {
            if (record.present && record.existed && !record.value.text.empty()) {
                WriteStringValue(key.get(), kMenuCaptionValue, record.value);
            } else {
                RegDeleteValueW(key.get(), kMenuCaptionValue);
            }
        }
        DeleteEmptyClassesKeys(verb.key);
    }
}

void RemoveFriendlyAppName() {
    if (const UniqueKey application = OpenClassesKey(kApplicationKey, KEY_SET_VALUE)) {
        RegDeleteValueW(application.get(), kFriendlyAppNameValue);
    }
    DeleteEmptyClassesKeys(kApplicationKey);
}

}  // namespace

UniqueKey OpenBackupKey() {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kBackupKey, 0, kBackupAccess, key.put()) == ERROR_SUCCESS) return key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kBackupKey, 0, nullptr, 0, kBackupAccess, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return key;
}

bool ApplyTakeover(std::wstring* error) {
    const std::wstring exe = ExecutablePath();
    if (exe.empty()) {
        SetErrorText(error, L"无法获取程序路径");
        return false;
    }
    {
        const UniqueKey backup = OpenBackupKey();
        if (!backup || !BackUpRows(backup.get(), exe)) {
            SetErrorText(error, L"无法打开备份键");
            return false;
        }
    }
    const bool complete = WriteDirectCommands(exe);
    WriteTakeoverReport(nullptr);
    NotifyAssociationsChanged();
    if (!complete) {
        SetErrorText(error, L"部分键写入失败");
        return false;
    }
    return true;
}

bool RestoreTakeover(std::wstring* error) {
    bool complete = false;
    {
        const UniqueKey backup = OpenBackupKey();
        if (!backup) {
            SetErrorText(error, L"无备份信息，无法取消接管");
            return false;
        }
        complete = RestoreCommandRows(backup.get(), ExecutablePath());
        RestoreMenuCaptions(backup.get());
    }
    RemoveFriendlyAppName();
    NotifyAssociationsChanged();
    if (!complete) {
        SetErrorText(error, L"部分键恢复失败");
        return false;
    }
    return true;
}
