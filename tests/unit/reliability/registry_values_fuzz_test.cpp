#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../settings/config_folder_fixture.h"
#include "common/private_prefix.h"
#include "common/registry_export.h"
#include "common/registry_set_aside.h"
#include "random_input.h"
#include "settings/load_settings.h"
#include "takeover/backup_record.h"
#include "takeover/command_lines.h"
#include "takeover/registry_values.h"
#include "takeover/key_state.h"
#include "takeover/takeover_backup.h"
#include "takeover/takeover_keys.h"
#include "takeover/takeover_record.h"
#include "ui/fonts.h"
#include "ui/handles.h"
#include "ui/shell_settings.h"

// Values of the wrong type or size in every key the program reads: what another
// program, an old version or a damaged hive may leave there. Each test sets its
// keys aside in the private prefix's HKCU and puts them back afterwards.

namespace {

// A value as it lies in the registry.
struct StoredValue {
    DWORD type = REG_NONE;
    std::string bytes;

    [[nodiscard]] bool IsNumberOfFourBytes() const { return bytes.size() == 4; }
    [[nodiscard]] bool IsString() const { return type == REG_SZ || type == REG_EXPAND_SZ; }
    [[nodiscard]] DWORD Number() const {
        DWORD number = 0;
        std::memcpy(&number, bytes.data(), sizeof(number));
        return number;
    }
};

std::string TextBytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// A value of any type and, mostly, of a size near the ones readers expect.
StoredValue WrongValue(RandomInput& random) {
    static const DWORD types[] = {REG_SZ,    REG_EXPAND_SZ, REG_MULTI_SZ, REG_BINARY, REG_DWORD,
                                  REG_QWORD, REG_NONE,      REG_DWORD_BIG_ENDIAN, 0x4711};
    StoredValue value;
    value.type = types[random.Below(static_cast<int>(std::size(types)))];
    const int shape = random.Below(10);
    if (shape < 4) {
        value.bytes.resize(static_cast<size_t>(random.Below(9)));
        for (char& byte : value.bytes) byte = static_cast<char>(random.Chance(50) ? 0 : random.Below(256));
    } else if (shape < 8) {
        // Text with or without its terminator, sometimes an odd byte long, sometimes a list.
        std::wstring text = random.MixedText(300);
        if (random.Chance(50)) text.push_back(L'\0');
        if (random.Chance(20)) text += std::wstring(L"C:\\a\0D:\\b\0\0", 11);
        value.bytes = TextBytes(text);
        if (!value.bytes.empty() && random.Chance(20)) value.bytes.pop_back();
    } else if (shape < 9) {
        value.bytes = random.Bytes(200);
    } else {
        // Far larger than any reader's buffer.
        value.bytes.assign(static_cast<size_t>(64 * 1024 + random.Below(64 * 1024)), 'Q');
    }
    return value;
}

// Writes exactly the bytes given. RegSetValueExW adds a terminator it thinks a
// string lacks, and Wine's reads far outside a string of one byte to decide that.
LSTATUS Store(HKEY key, const wchar_t* name, const StoredValue& value) {
    using SetValueKey = LONG(NTAPI*)(HANDLE, const UNICODE_STRING*, ULONG, ULONG, const void*, ULONG);
    static const auto setValueKey =
        reinterpret_cast<SetValueKey>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
    if (setValueKey == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
    UNICODE_STRING valueName{};
    if (name != nullptr) {
        valueName.Length = static_cast<USHORT>(std::wcslen(name) * sizeof(wchar_t));
        valueName.MaximumLength = valueName.Length;
        valueName.Buffer = const_cast<wchar_t*>(name);
    }
    return setValueKey(key, &valueName, 0, value.type, value.bytes.data(), static_cast<ULONG>(value.bytes.size())) == 0
               ? ERROR_SUCCESS
               : ERROR_WRITE_FAULT;
}

UniqueKey CreateKey(HKEY root, const wchar_t* path) {
    UniqueKey key;
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return key;
}

bool HoldsZero(const std::wstring& text) { return text.find(L'\0') != std::wstring::npos; }

class ReliabilityRegistryValuesTest : public ConfigFolderTest {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        ConfigFolderTest::SetUp();
    }

    // The key under HKCU emptied for this test and made anew; what it held comes
    // back when the test is over. Empty when either step fails.
    UniqueKey FreshKey(const wchar_t* path) {
        asides.push_back(std::make_unique<RegistryKeySetAside>(HKEY_CURRENT_USER, path));
        if (!asides.back()->Ready()) return {};
        return CreateKey(HKEY_CURRENT_USER, path);
    }

    RandomInput random{ReliabilitySeed() + 20};
    InvariantTally tally;
    std::vector<std::unique_ptr<RegistryKeySetAside>> asides;
};

TEST_F(ReliabilityRegistryValuesTest, LegacySettingsOfAnyTypeMigrateAsDefaultsOrTheirNumbers) {
    RegistryKeySetAside aside(HKEY_CURRENT_USER, kLegacySettingsKey);
    ASSERT_TRUE(aside.Ready());
    const std::array<const wchar_t*, 5> flagNames = {L"NavVisible", L"DetailsVisible", L"PreviewVisible",
                                                     L"ShowHiddenFiles", L"ShowFileExt"};
    const long long rounds = Scaled(150);
    long long values = 0;
    for (long long round = 0; round < rounds; ++round) {
        std::map<std::wstring, StoredValue> stored;
        {
            RegDeleteTreeW(HKEY_CURRENT_USER, kLegacySettingsKey);
            const UniqueKey key = CreateKey(HKEY_CURRENT_USER, kLegacySettingsKey);
            ASSERT_TRUE(key);
            for (const wchar_t* name : {L"NavVisible", L"DetailsVisible", L"PreviewVisible", L"ShowHiddenFiles",
                                        L"ShowFileExt", L"ViewMode", L"ViewIconSize", L"Takeover", L"Favorites",
                                        L"TabPaths", L"ActiveTab", L"NewTabPath"}) {
                if (random.Chance(15)) continue;
                const StoredValue value = WrongValue(random);
                if (Store(key.get(), name, value) == ERROR_SUCCESS) stored[name] = value;
                ++values;
            }
        }
        const Settings defaults;
        const Settings read = ReadLegacySettings();
        auto number = [&stored](const wchar_t* name, int32_t fallback) {
            const auto found = stored.find(name);
            return found != stored.end() && found->second.IsNumberOfFourBytes()
                       ? static_cast<int32_t>(found->second.Number())
                       : fallback;
        };
        const std::array<bool, 5> flags = {read.NavVisible, read.DetailsVisible, read.PreviewVisible,
                                           read.ShowHiddenFiles, read.ShowFileExt};
        const std::array<bool, 5> flagDefaults = {defaults.NavVisible, defaults.DetailsVisible,
                                                  defaults.PreviewVisible, defaults.ShowHiddenFiles,
                                                  defaults.ShowFileExt};
        for (size_t i = 0; i < flagNames.size(); ++i) {
            tally.Check(flags[i] == (number(flagNames[i], flagDefaults[i] ? 1 : 0) != 0), "a flag read wrongly");
        }
        tally.Check(read.Takeover == (number(L"Takeover", 0) != 0), "Takeover read wrongly");
        tally.Check(read.ViewMode == number(L"ViewMode", defaults.ViewMode), "ViewMode read wrongly");
        tally.Check(read.ViewIconSize == number(L"ViewIconSize", defaults.ViewIconSize), "ViewIconSize read wrongly");
        tally.Check(read.ActiveTab == number(L"ActiveTab", defaults.ActiveTab), "ActiveTab read wrongly");
        for (const auto* list : {&read.Favorites, &read.TabPaths}) {
            for (const std::wstring& entry : *list) {
                tally.Check(!entry.empty() && !HoldsZero(entry), "a list entry is empty or holds a zero");
            }
        }
        tally.Check(!HoldsZero(read.NewTabPath), "the new-tab path holds a zero");
        tally.Check(read.FavBarVisible == defaults.FavBarVisible && read.HistoryLimit == defaults.HistoryLimit,
                    "a value without registry counterpart changed");

        // Now and then the whole migration, which must leave files a load reads back.
        if (round % 15 == 0) {
            DeleteFileW((ConfigFolder() + L"settings.txt").c_str());
            const Settings migrated = LoadSettings();
            const Settings reloaded = LoadSettings();
            tally.Check(GetFileAttributesW((ConfigFolder() + L"settings.txt").c_str()) != INVALID_FILE_ATTRIBUTES,
                        "the migration wrote no settings.txt");
            // A text with a line break is cut there, and can set no other key.
            tally.Check(migrated.NewTabPath.starts_with(reloaded.NewTabPath) &&
                            reloaded.NewTabPath.find_first_of(L"\r\n") == std::wstring::npos &&
                            reloaded.ViewMode == migrated.ViewMode && reloaded.Takeover == migrated.Takeover &&
                            reloaded.ActiveTab == migrated.ActiveTab && reloaded.NavVisible == migrated.NavVisible,
                        "the migrated settings did not load back");
        }
    }
    RecordReliability({"registry value types", values, values, "legacy settings key", tally.Failures()});
}

// Every value name of an earlier version's backup key: N and N_Existed per row.
std::vector<std::wstring> BackupValueNames() {
    std::vector<std::wstring> names;
    for (const TakeoverKey& row : TakeoverKeys) names.push_back(row.backupName);
    names.push_back(kLegacyNewWindowKey.backupName);
    for (const TitleVerbKey& row : TitleVerbKeys) names.push_back(row.backupName);
    return names;
}

TEST_F(ReliabilityRegistryValuesTest, BackupRecordsOfAnyTypeReadAsRecordsOnlyWhenWellFormed) {
    RegistryKeySetAside aside(HKEY_CURRENT_USER, L"Software\\Quorlen");
    ASSERT_TRUE(aside.Ready());
    const std::vector<std::wstring> names = BackupValueNames();
    const long long rounds = Scaled(100);
    long long values = 0;
    for (long long round = 0; round < rounds; ++round) {
        RegDeleteTreeW(HKEY_CURRENT_USER, kBackupKey);
        std::map<std::wstring, StoredValue> stored;
        const UniqueKey backup = CreateKey(HKEY_CURRENT_USER, kBackupKey);
        ASSERT_TRUE(backup);
        for (const std::wstring& name : names) {
            for (const std::wstring& valueName : {name, name + L"_Existed"}) {
                if (random.Chance(10)) continue;
                StoredValue value = WrongValue(random);
                if (random.Chance(30)) {
                    // Well formed now and then, so that records are read too.
                    value = valueName == name ? StoredValue{REG_SZ, TextBytes(std::wstring(L"x %1\0", 5))}
                                              : StoredValue{REG_DWORD, std::string("\1\0\0\0", 4)};
                }
                if (Store(backup.get(), valueName.c_str(), value) == ERROR_SUCCESS) stored[valueName] = value;
                ++values;
            }
        }
        for (const std::wstring& name : names) {
            const BackupRecord record = ReadBackupRecord(backup.get(), name);
            const auto value = stored.find(name);
            const auto existed = stored.find(name + L"_Existed");
            const bool wellFormed = value != stored.end() && value->second.IsString() && existed != stored.end() &&
                                    (existed->second.type == REG_DWORD || existed->second.type == REG_BINARY) &&
                                    existed->second.IsNumberOfFourBytes();
            tally.Check(record.present == wellFormed,
                        wellFormed ? "a well-formed record was not read:" : "a record was read from bad values:", name);
            if (record.present) {
                tally.Check(!HoldsZero(record.value.text) && record.existed == (existed->second.Number() != 0),
                            "a record read wrongly");
            }
        }
    }
    RecordReliability({"registry value types", values, values, "earlier backup key", tally.Failures()});
}

// The takeover over keys holding values of any type, and over a record full of
// damage: apply and undo give every key back byte for byte, and an undo from a
// damaged record neither fails to run nor leaves a value of ours.
class ReliabilityTakeoverValuesTest : public ReliabilityRegistryValuesTest {
protected:
    void SetUp() override {
        ReliabilityRegistryValuesTest::SetUp();
        classesAside.emplace(HKEY_CURRENT_USER, L"Software\\Classes");
        programAside.emplace(HKEY_CURRENT_USER, L"Software\\Quorlen");
        ASSERT_TRUE(classesAside->Ready() && programAside->Ready());
        ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, L"Software\\Classes"));
        target = {folder.Path().wstring() + L"\\Quorlen.exe", folder.Path().wstring() + L"\\QuorlenLauncher.exe"};
    }
    void TearDown() override {
        programAside.reset();
        classesAside.reset();
        ReliabilityRegistryValuesTest::TearDown();
    }

    // The keys the takeover writes, as other programs may have left them.
    long long SeedWrongValues() {
        long long values = 0;
        for (const TouchedKey& touched : TouchedKeys()) {
            RegDeleteTreeW(HKEY_CURRENT_USER, ClassesPath(touched.key).c_str());
            if (!random.Chance(70)) continue;
            const UniqueKey key = CreateKey(HKEY_CURRENT_USER, ClassesPath(touched.key).c_str());
            for (const std::wstring& name : WrittenValueNames(touched.kind)) {
                if (random.Chance(30)) continue;
                Store(key.get(), name.empty() ? nullptr : name.c_str(), WrongValue(random));
                ++values;
            }
        }
        return values;
    }

    TakeoverTarget target;
    std::optional<RegistryKeySetAside> classesAside;
    std::optional<RegistryKeySetAside> programAside;
};

TEST_F(ReliabilityTakeoverValuesTest, ApplyAndUndoOverValuesOfAnyTypeGiveEveryByteBack) {
    const long long rounds = Scaled(6);
    long long values = 0;
    for (long long round = 0; round < rounds; ++round) {
        DeleteTakeoverRecord();
        values += SeedWrongValues();
        const std::vector<std::wstring> before = ExportRegistryTree(HKEY_CURRENT_USER, L"Software\\Classes");
        std::wstring error;
        tally.Check(ApplyTakeoverTo(target, &error), "apply failed:", error);
        tally.Check(RestoreTakeover(&error), "undo failed:", error);
        const std::vector<std::wstring> after = ExportRegistryTree(HKEY_CURRENT_USER, L"Software\\Classes");
        std::wstring difference;
        for (const std::wstring& line : before) {
            if (std::find(after.begin(), after.end(), line) == after.end()) difference += L"\n- " + line.substr(0, 120);
        }
        for (const std::wstring& line : after) {
            if (std::find(before.begin(), before.end(), line) == before.end()) difference += L"\n+ " + line.substr(0, 120);
        }
        tally.Check(difference.empty(), "the undo did not give every key back as it was:", difference);
    }
    RecordReliability({"registry value types", values, values, "takeover keys", tally.Failures()});
}

TEST_F(ReliabilityTakeoverValuesTest, AnUndoFromADamagedRecordLeavesNoValueOfOurs) {
    const long long rounds = Scaled(20);
    for (long long round = 0; round < rounds; ++round) {
        DeleteTakeoverRecord();
        SeedWrongValues();
        ASSERT_TRUE(ApplyTakeoverTo(target, nullptr));
        {
            const UniqueKey record = CreateKey(HKEY_CURRENT_USER, kRecordKey);
            for (const TouchedKey& touched : TouchedKeys()) {
                if (!random.Chance(50)) continue;
                StoredValue value = WrongValue(random);
                std::vector<BYTE> bytes(value.bytes.begin(), value.bytes.end());
                if (random.Chance(50)) {
                    // A real record cut or changed at one byte.
                    bytes = EncodeKeyState(KeyState{random.Below(6) + 0u, {TextValue(L"", L"x", REG_SZ)}});
                    bytes.resize(static_cast<size_t>(random.Below(static_cast<int>(bytes.size()) + 1)));
                    if (!bytes.empty() && random.Chance(50)) bytes[static_cast<size_t>(random.Below(static_cast<int>(bytes.size())))] ^= 0x55;
                    value.type = REG_BINARY;
                }
                RegSetValueExW(record.get(), touched.recordName.c_str(), 0, value.type, bytes.data(),
                               static_cast<DWORD>(bytes.size()));
            }
        }
        std::wstring error;
        (void)RestoreTakeover(&error);
        const OurPrograms ours = OurProgramsFor(target.program, target.launcher);
        for (size_t i = 0; i < TouchedKeys().size(); ++i) {
            tally.Check(!HoldsOurValue(i, ours), "a value of ours stayed in",
                        TouchedKeys()[i].key);
        }
    }
    RecordReliability({"bad input", rounds, rounds, "damaged takeover record", tally.Failures()});
}

TEST_F(ReliabilityRegistryValuesTest, AdvancedValuesOfAnyTypeReadAsTheirNumberOrTheDefault) {
    const UniqueKey key = FreshKey(kExplorerAdvancedKey);
    ASSERT_TRUE(key);
    const long long cases = Scaled(400);
    for (long long i = 0; i < cases; ++i) {
        StoredValue value = WrongValue(random);
        if (random.Chance(20)) value = StoredValue{REG_DWORD, std::string("\1\0\0\0", 4)};
        ASSERT_EQ(Store(key.get(), L"AutoCheckSelect", value), ERROR_SUCCESS);
        const DWORD expected = value.type == REG_DWORD && value.IsNumberOfFourBytes() ? value.Number() : 7u;
        tally.Check(ReadAdvancedValue(L"AutoCheckSelect", 7) == expected,
                    "a value read wrongly; its type and size:",
                    std::to_wstring(value.type) + L", " + std::to_wstring(value.bytes.size()));
    }
    RegDeleteValueW(key.get(), L"AutoCheckSelect");
    tally.Check(ReadAdvancedValue(L"AutoCheckSelect", 7) == 7, "a missing value did not give the default");
    RecordReliability({"registry value types", cases, cases, "Explorer Advanced key", tally.Failures()});
}

TEST_F(ReliabilityRegistryValuesTest, IconFontValuesOfAnyShapeGiveAnInstalledFaceAndTheirHeight) {
    constexpr wchar_t kWindowMetrics[] = L"Control Panel\\Desktop\\WindowMetrics";
    const UniqueKey key = FreshKey(kWindowMetrics);
    ASSERT_TRUE(key);
    const long long cases = Scaled(300);
    for (long long i = 0; i < cases; ++i) {
        StoredValue value = WrongValue(random);
        if (random.Chance(40)) {
            // A font record cut anywhere, its face name made of anything.
            LOGFONTW font{};
            font.lfHeight = random.Chance(20) ? 0 : random.Below(200) - 100;
            for (wchar_t& unit : font.lfFaceName) unit = random.Chance(10) ? L'\0' : random.MixedUnit();
            value.bytes.assign(reinterpret_cast<const char*>(&font), sizeof(font));
            value.bytes.resize(static_cast<size_t>(random.Below(static_cast<int>(sizeof(font)) + 1)));
        }
        ASSERT_EQ(Store(key.get(), L"IconFont", value), ERROR_SUCCESS);
        std::wstring face;
        int height = -12;
        IconFontFace(face, height);
        tally.Check(!face.empty() && face.size() <= static_cast<size_t>(LF_FACESIZE) && !HoldsZero(face), "a malformed face name came back");
        const bool readable = value.bytes.size() >= offsetof(LOGFONTW, lfFaceName) && value.bytes.size() <= sizeof(LOGFONTW);
        const int stored = readable ? static_cast<int>(value.Number()) : 0;
        tally.Check(height == (stored != 0 ? stored : -12), "the height read wrongly");
    }
    RecordReliability({"registry value types", cases, cases, "icon font", tally.Failures()});
}

}  // namespace
