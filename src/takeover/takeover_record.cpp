#include "takeover/takeover_record.h"

#include "takeover/registry_values.h"
#include "takeover/takeover_keys.h"
#include "ui/handles.h"

namespace {

constexpr wchar_t kProgramValue[] = L"Program";
constexpr wchar_t kLauncherValue[] = L"Launcher";
constexpr wchar_t kPhaseValue[] = L"Phase";
constexpr wchar_t kToldValue[] = L"ToldProgramMissing";
constexpr wchar_t kApplicationRecordName[] = L"AppKey";
constexpr DWORD kMaxStateBytes = 4 * 1024 * 1024;

std::vector<TouchedKey> MakeTouchedKeys() {
    std::vector<TouchedKey> keys;
    keys.reserve(TakeoverKeys.size() + TitleVerbKeys.size() + 1);
    for (const TakeoverKey& row : TakeoverKeys) {
        keys.push_back({row.key, row.backupName, TouchedKind::Command, row.argumentTemplate});
    }
    for (const TitleVerbKey& verb : TitleVerbKeys) keys.push_back({verb.key, verb.backupName, TouchedKind::Verb, {}});
    keys.push_back({kApplicationKey, kApplicationRecordName, TouchedKind::Application, {}});
    return keys;
}

UniqueKey OpenRecordKey(REGSAM access) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, access, key.put()) != ERROR_SUCCESS) return {};
    return key;
}

std::optional<KeyState> ReadState(HKEY key, const std::wstring& name) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_BINARY ||
        size > kMaxStateBytes) {
        return std::nullopt;
    }
    std::vector<BYTE> bytes(size);
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    bytes.resize(size);
    return DecodeKeyState(bytes);
}

}  // namespace

const std::vector<TouchedKey>& TouchedKeys() {
    static const std::vector<TouchedKey> keys = MakeTouchedKeys();
    return keys;
}

std::vector<std::wstring> WrittenValueNames(TouchedKind kind) {
    switch (kind) {
    case TouchedKind::Command: return {L"", kDelegateExecuteValue};
    case TouchedKind::Verb: return {kMenuCaptionValue};
    case TouchedKind::Application: return {kFriendlyAppNameValue};
    }
    return {};
}

std::optional<TakeoverRecord> ReadTakeoverRecord() {
    const UniqueKey key = OpenRecordKey(KEY_READ);
    if (!key) return std::nullopt;
    TakeoverRecord record;
    if (std::optional<RegistryString> program = ReadStringValue(key.get(), kProgramValue)) {
        record.program = std::move(program->text);
    }
    if (std::optional<RegistryString> launcher = ReadStringValue(key.get(), kLauncherValue)) {
        record.launcher = std::move(launcher->text);
    }
    const std::optional<DWORD> phase = ReadNumberValue(key.get(), kPhaseValue);
    // A record without a phase it knows was never finished.
    record.phase = phase && *phase >= 1 && *phase <= 3 ? static_cast<RecordPhase>(*phase) : RecordPhase::Applying;
    record.toldProgramMissing = ReadNumberValue(key.get(), kToldValue).value_or(0) != 0;
    for (const TouchedKey& touched : TouchedKeys()) record.states.push_back(ReadState(key.get(), touched.recordName));
    return record;
}

bool WriteTakeoverRecord(const TakeoverRecord& record) {
    UniqueKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    // The phase first: a record cut off while it is written is then never
    // taken for a finished one.
    bool complete = WriteNumberValue(key.get(), kPhaseValue, static_cast<DWORD>(RecordPhase::Applying)) ==
                    ERROR_SUCCESS;
    for (size_t i = 0; i < TouchedKeys().size() && i < record.states.size(); ++i) {
        const std::wstring& name = TouchedKeys()[i].recordName;
        if (!record.states[i]) {
            RegDeleteValueW(key.get(), name.c_str());
            continue;
        }
        const std::vector<BYTE> bytes = EncodeKeyState(*record.states[i]);
        complete = RegSetValueExW(key.get(), name.c_str(), 0, REG_BINARY, bytes.data(),
                                  static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS &&
                   complete;
    }
    complete = WriteStringValue(key.get(), kProgramValue, record.program, REG_SZ) == ERROR_SUCCESS && complete;
    complete = WriteStringValue(key.get(), kLauncherValue, record.launcher, REG_SZ) == ERROR_SUCCESS && complete;
    complete = WriteNumberValue(key.get(), kToldValue, record.toldProgramMissing ? 1 : 0) == ERROR_SUCCESS && complete;
    return complete && WriteNumberValue(key.get(), kPhaseValue, static_cast<DWORD>(record.phase)) == ERROR_SUCCESS;
}

bool SetRecordPhase(RecordPhase phase) {
    const UniqueKey key = OpenRecordKey(KEY_SET_VALUE);
    return key && WriteNumberValue(key.get(), kPhaseValue, static_cast<DWORD>(phase)) == ERROR_SUCCESS;
}

bool SetRecordProgram(const std::wstring& program) {
    const UniqueKey key = OpenRecordKey(KEY_SET_VALUE);
    return key && WriteStringValue(key.get(), kProgramValue, program, REG_SZ) == ERROR_SUCCESS &&
           WriteNumberValue(key.get(), kToldValue, 0) == ERROR_SUCCESS;
}

void SetToldProgramMissing() {
    if (const UniqueKey key = OpenRecordKey(KEY_SET_VALUE)) WriteNumberValue(key.get(), kToldValue, 1);
}

bool DeleteTakeoverRecord() {
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kRecordKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
