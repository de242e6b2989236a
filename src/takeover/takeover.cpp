#include "takeover/takeover.h"

#include <windows.h>

#include "takeover/command_lines.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_backup.h"
#include "takeover/takeover_keys.h"
#include "takeover/uninstall.h"

std::wstring ExecutablePath() {
    // A path cut short by a small buffer would be written into the shell's
    // commands, so the buffer grows until the whole path fits.
    std::wstring path(MAX_PATH, L'\0');
    while (path.size() <= 32768) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

bool IsTakeoverActive() {
    const std::wstring exe = ExecutablePath();
    for (const TakeoverKey& row : TakeoverKeys) {
        const UniqueKey key = OpenClassesKey(row.key, KEY_READ);
        if (!key) return false;
        const std::optional<RegistryString> command = ReadStringValue(key.get(), nullptr);
        const std::optional<RegistryString> delegate = ReadStringValue(key.get(), kDelegateExecuteValue);
        if (!command || !ContainsExecutable(command->text, exe)) return false;
        if (delegate && !delegate->text.empty()) return false;
    }
    return true;
}

bool KeyNamesExecutable(const wchar_t* subkey, const std::wstring& exe) {
    const std::optional<RegistryString> command = ReadClassesDefault(subkey);
    return command && ContainsExecutable(command->text, exe);
}

bool IsAnyKeyOurs() {
    const std::wstring exe = ExecutablePath();
    for (const TakeoverKey& row : TakeoverKeys) {
        if (KeyNamesExecutable(row.key, exe)) return true;
    }
    return false;
}

bool AreCommandsDirect() {
    for (const TakeoverKey& row : TakeoverKeys) {
        const std::optional<RegistryString> command = ReadClassesDefault(row.key);
        if (!command || IsIndirectCommand(command->text)) return false;
    }
    return true;
}

void WriteFallbackCommands() {
    const std::wstring exe = ExecutablePath();
    if (exe.empty()) return;
    for (const TakeoverKey& row : TakeoverKeys) {
        const UniqueKey key = OpenOrCreateClassesKey(row.key);
        if (!key) continue;
        WriteStringValue(key.get(), nullptr, BuildFallbackCommand(exe, row.argumentTemplate), REG_EXPAND_SZ);
        WriteStringValue(key.get(), kDelegateExecuteValue, L"", REG_SZ);
    }
    NotifyAssociationsChanged();
}

void CheckTakeoverAtStartup(bool takeoverSetting) {
    if (!takeoverSetting) return;
    const bool wasActive = IsTakeoverActive();
    if (wasActive && AreCommandsDirect()) return;
    // Explorer caches the commands it read; keys that were already ours, only in
    // the other form, need no restart.
    if (ApplyTakeover(nullptr) && !wasActive) RestartExplorer();
}

void SwitchToFallbackAtExit() {
    if (IsTakeoverActive() && AreCommandsDirect()) WriteFallbackCommands();
}

void CheckExecutablePresence() {
    // Once the fallback form is in place there is nothing more to do; writing it
    // again every few seconds would only make the shell reload its associations.
    if (GetFileAttributesW(ExecutablePath().c_str()) == INVALID_FILE_ATTRIBUTES && IsTakeoverActive() &&
        AreCommandsDirect()) {
        WriteFallbackCommands();
    }
}
