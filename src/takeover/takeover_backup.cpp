#include "takeover/takeover_backup.h"

#include <windows.h>

#include <algorithm>
#include <numeric>
#include <string_view>

#include "settings/config_dir.h"
#include "settings/save_failures.h"
#include "settings/settings_file.h"
#include "takeover/backup_record.h"
#include "takeover/command_lines.h"
#include "takeover/error_text.h"
#include "takeover/key_snapshot.h"
#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"
#include "takeover/takeover_record.h"

namespace {

std::optional<std::wstring> CurrentText(const TouchedKey& touched) {
    const UniqueKey key = OpenClassesKey(touched.key, KEY_READ);
    if (!key) return std::nullopt;
    const std::wstring name = WrittenValueNames(touched.kind).front();
    std::optional<RegistryString> value = ReadStringValue(key.get(), name.empty() ? nullptr : name.c_str());
    if (!value) return std::nullopt;
    return std::move(value->text);
}

// The program an earlier version's commands start, read from its own
// application key's command, which nothing else writes: the program under an
// earlier name or in an earlier folder.
std::wstring EarlierProgram() {
    const auto application = std::find_if(TakeoverKeys.begin(), TakeoverKeys.end(), [](const TakeoverKey& row) {
        return std::wstring_view(row.key).starts_with(kApplicationKey);
    });
    if (application == TakeoverKeys.end()) return {};
    const std::optional<RegistryString> command = ReadClassesDefault(application->key);
    return command ? ProgramOfOwnForm(command->text, application->argumentTemplate) : std::wstring();
}

// A command an earlier version wrote, for the program now or under its earlier name.
bool IsEarlierCommand(const std::wstring& value, const std::wstring& argumentTemplate, const OurPrograms& ours) {
    return IsOwnCommand(value, ours.program, argumentTemplate) ||
           (!ours.earlier.empty() && IsOwnCommand(value, ours.earlier, argumentTemplate));
}

bool IsOurCommand(const std::wstring& value, const std::wstring& argumentTemplate, const OurPrograms& ours) {
    return IsLauncherCommand(value, argumentTemplate) || ContainsExecutable(value, ours.launcher) ||
           IsEarlierCommand(value, argumentTemplate, ours);
}

std::wstring KeyDisplayPath(const std::wstring& subkey) { return L"HKEY_CURRENT_USER\\" + ClassesPath(subkey); }

std::wstring FailureText(const wchar_t* what, const std::wstring& subkey, LSTATUS status) {
    return std::wstring(what) + KeyDisplayPath(subkey) + L"（" + SaveFailureReason(static_cast<DWORD>(status)) +
           L"）";
}

// Writes what the takeover puts into one key.
LSTATUS WriteTouchedKey(const TouchedKey& touched, const std::wstring& launcher) {
    UniqueKey key;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, ClassesPath(touched.key).c_str(), 0, nullptr, 0,
                                     KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    switch (touched.kind) {
    case TouchedKind::Command:
        // The command line first: it is what marks the key as ours, so a run cut
        // off between the two writes leaves a key the undo recognises and puts
        // back whole. An empty delegate then makes the shell run the command line.
        status = WriteStringValue(key.get(), nullptr, BuildDirectCommand(launcher, touched.argumentTemplate),
                                  REG_EXPAND_SZ);
        if (status != ERROR_SUCCESS) return status;
        return WriteStringValue(key.get(), kDelegateExecuteValue, L"", REG_SZ);
    case TouchedKind::Verb:
        return WriteStringValue(key.get(), kMenuCaptionValue, kMenuCaption, REG_SZ);
    case TouchedKind::Application:
        return WriteStringValue(key.get(), kFriendlyAppNameValue, kFriendlyAppName, REG_SZ);
    }
    return ERROR_INVALID_PARAMETER;
}

// The keys in the order their created levels can go: deepest first, so that a
// key above another (the application key above its command) is emptied first.
std::vector<size_t> DeepestFirst() {
    std::vector<size_t> order(TouchedKeys().size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [](size_t a, size_t b) {
        return PathLevels(TouchedKeys()[a].key) > PathLevels(TouchedKeys()[b].key);
    });
    return order;
}

// Puts the keys listed back as the states say, and removes the levels they created.
void PutBack(const std::vector<std::optional<KeyState>>& states, const std::vector<bool>& which) {
    for (size_t i = 0; i < which.size(); ++i) {
        if (which[i] && states[i]) (void)PutBackKeyState(TouchedKeys()[i].key, *states[i]);
    }
    for (size_t i : DeepestFirst()) {
        if (which[i] && states[i]) RemoveCreatedLevels(TouchedKeys()[i].key, states[i]->existingLevels);
    }
}

// Nothing of the takeover: what a key whose earlier state is unknown goes back to.
KeyState NothingWritten(const TouchedKey& touched, uint32_t existingLevels) {
    KeyState state{existingLevels, {}};
    for (const std::wstring& name : WrittenValueNames(touched.kind)) state.values.push_back({name, false, REG_NONE, {}});
    return state;
}

void SwitchHolderConfigOff(const std::wstring& program) {
    const size_t slash = program.rfind(L'\\');
    if (slash == std::wstring::npos) return;
    const std::wstring folder = ConfigFolderBeside(program.substr(0, slash));
    // A copy that never ran there has no config to change, and gets none.
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    SaveTakeoverOffAt(folder + kSettingsFileName);
}

}  // namespace

bool EarlierBackupExists() {
    UniqueKey backup;
    return RegOpenKeyExW(HKEY_CURRENT_USER, kBackupKey, 0, KEY_READ, backup.put()) == ERROR_SUCCESS;
}

OurPrograms OurProgramsFor(const std::wstring& program, const std::wstring& launcher) {
    return OurPrograms{program, launcher, EarlierProgram()};
}

bool HoldsOurValue(size_t touchedIndex, const OurPrograms& ours) {
    const TouchedKey& touched = TouchedKeys()[touchedIndex];
    const std::optional<std::wstring> text = CurrentText(touched);
    if (!text) return false;
    switch (touched.kind) {
    case TouchedKind::Command: return IsOurCommand(*text, touched.argumentTemplate, ours);
    case TouchedKind::Verb: return *text == kMenuCaption;
    case TouchedKind::Application: return *text == kFriendlyAppName;
    }
    return false;
}

bool ApplyTakeoverTo(const TakeoverTarget& target, std::wstring* error, bool onlyOurs) {
    const std::vector<TouchedKey>& keys = TouchedKeys();
    const std::optional<TakeoverRecord> prior = ReadTakeoverRecord();
    TakeoverRecord record{target.program, target.launcher, RecordPhase::Applied, {}, false};
    std::vector<std::optional<KeyState>> before;
    std::vector<bool> writing(keys.size());
    const OurPrograms programs = OurProgramsFor(target.program, prior ? prior->launcher : target.launcher);
    for (size_t i = 0; i < keys.size(); ++i) {
        const KeyState now = CaptureKeyState(keys[i].key, WrittenValueNames(keys[i].kind));
        const bool ours = HoldsOurValue(i, programs);
        before.emplace_back(now);
        writing[i] = ours || !onlyOurs;
        // A key that holds our value already was written by an earlier takeover,
        // whose record still describes the state before it.
        if (!ours) {
            record.states.emplace_back(now);
        } else if (prior && i < prior->states.size() && prior->states[i]) {
            record.states.push_back(prior->states[i]);
        } else {
            record.states.emplace_back(NothingWritten(keys[i], now.existingLevels));
        }
    }
    // Until every key is written the record says so, and a start after a crash
    // in between undoes what was done.
    record.phase = RecordPhase::Applying;
    if (!WriteTakeoverRecord(record)) {
        if (prior) {
            (void)WriteTakeoverRecord(*prior);
        } else {
            DeleteTakeoverRecord();
        }
        SetErrorText(error, L"无法写入接管记录（HKEY_CURRENT_USER\\Software\\Quorlen\\Takeover），未做任何更改。");
        return false;
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        if (!writing[i]) continue;
        const LSTATUS status = WriteTouchedKey(keys[i], target.launcher);
        if (status == ERROR_SUCCESS) continue;
        std::vector<bool> written(keys.size());
        for (size_t j = 0; j <= i; ++j) written[j] = writing[j];
        PutBack(before, written);
        if (prior) {
            (void)WriteTakeoverRecord(*prior);
        } else {
            DeleteTakeoverRecord();
        }
        NotifyAssociationsChanged();
        if (error) {
            *error = FailureText(L"无法写入 ", keys[i].key, status) +
                     L"，可能被安全软件拦截。已撤销本次的全部更改，文件夹仍按原来的方式打开。";
        }
        return false;
    }
    const bool finished = SetRecordPhase(RecordPhase::Applied);
    NotifyAssociationsChanged();
    if (!finished) {
        SetErrorText(error, L"无法写入接管记录（HKEY_CURRENT_USER\\Software\\Quorlen\\Takeover）。");
        return false;
    }
    return true;
}

bool RestoreTakeover(std::wstring* error) {
    const std::optional<TakeoverRecord> record = ReadTakeoverRecord();
    if (!record) return true;
    (void)SetRecordPhase(RecordPhase::Restoring);
    const std::vector<TouchedKey>& keys = TouchedKeys();
    std::vector<std::optional<KeyState>> states = record->states;
    states.resize(keys.size());
    std::wstring failure;
    const OurPrograms programs = OurProgramsFor(record->program, record->launcher);
    for (size_t i = 0; i < keys.size(); ++i) {
        // What another program set since is theirs, and a key gone is the system's.
        if (!HoldsOurValue(i, programs)) continue;
        // A damaged record still lets our values go: the system's default is
        // the best that is known of the state before.
        if (!states[i]) states[i] = NothingWritten(keys[i], PathLevels(keys[i].key));
        const LSTATUS status = PutBackKeyState(keys[i].key, *states[i]);
        if (status != ERROR_SUCCESS && failure.empty()) failure = FailureText(L"无法恢复 ", keys[i].key, status);
    }
    // Levels the takeover created go wherever they are empty, also below keys
    // it never finished writing: a takeover cut off between creating a key
    // and writing into it leaves such a level behind.
    for (size_t i : DeepestFirst()) {
        if (states[i]) RemoveCreatedLevels(keys[i].key, states[i]->existingLevels);
    }
    NotifyAssociationsChanged();
    if (!failure.empty()) {
        SetErrorText(error, (failure + L"。接管记录已保留，可稍后再次取消接管。").c_str());
        return false;
    }
    SwitchHolderConfigOff(record->program);
    DeleteTakeoverRecord();
    return true;
}

void CarryOverEarlierTakeover(const TakeoverTarget& target) {
    UniqueKey backup;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kBackupKey, 0, KEY_READ, backup.put()) != ERROR_SUCCESS) return;
    const OurPrograms programs = OurProgramsFor(target.program, target.launcher);
    const auto ours = [&](const TakeoverKey& row) {
        const std::optional<RegistryString> command = ReadClassesDefault(row.key);
        return command && IsEarlierCommand(command->text, row.argumentTemplate, programs);
    };
    // The key earlier versions took over and this one leaves alone goes back now.
    if (ours(kLegacyNewWindowKey)) {
        const BackupRecord recorded = ReadBackupRecord(backup.get(), kLegacyNewWindowKey.backupName);
        KeyState state = NothingWritten(TouchedKeys().front(), 0);
        if (recorded.present && recorded.existed) {
            state.existingLevels = PathLevels(kLegacyNewWindowKey.key);
            state.values[0] = TextValue(L"", recorded.value.text, recorded.value.type);
        }
        (void)PutBackKeyState(kLegacyNewWindowKey.key, state);
        RemoveCreatedLevels(kLegacyNewWindowKey.key, state.existingLevels);
    }
    const bool anyOurs = std::any_of(TakeoverKeys.begin(), TakeoverKeys.end(), ours);
    if (anyOurs && !ReadTakeoverRecord()) {
        // The earlier backup knew each command and caption, not the delegate
        // nor which levels existed: levels left empty go, as they did then.
        TakeoverRecord record{target.program, target.launcher, RecordPhase::Applied, {}, false};
        for (const TouchedKey& touched : TouchedKeys()) {
            KeyState state = NothingWritten(touched, 0);
            const BackupRecord recorded = touched.kind == TouchedKind::Application
                                              ? BackupRecord{}
                                              : ReadBackupRecord(backup.get(), touched.recordName);
            if (recorded.present && recorded.existed) {
                state.existingLevels = PathLevels(touched.key);
                state.values[0] = TextValue(state.values[0].name, recorded.value.text, recorded.value.type);
            }
            record.states.emplace_back(std::move(state));
        }
        if (!WriteTakeoverRecord(record)) return;
    }
    if (anyOurs && !ApplyTakeoverTo(target, nullptr, true)) return;
    backup.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, kBackupKey);
}
