#include "settings/load_settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/private_prefix.h"
#include "common/registry_set_aside.h"
#include "config_folder_fixture.h"
#include "settings_printer.h"
#include "settings/line_file.h"
#include "settings/save_queue.h"
#include "settings/settings_file.h"
#include "settings/settings_store.h"
#include "ui/handles.h"

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::wstring>;

Lines NumberedPaths(int count) {
    Lines paths;
    for (int i = 0; i < count; ++i) paths.push_back(L"C:\\folder" + std::to_wstring(i));
    return paths;
}

// The bytes of UTF-16 text, embedded zeros included.
std::string Utf16Bytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

TEST(LoadSettingsSteps, HistoryLimitIsClampedIntoOneToTenThousand) {
    struct Case {
        int32_t stored;
        int32_t loaded;
    };
    const Case cases[] = {
        {0, 100},     {-5, 100},        {-2147483647 - 1, 100}, {1, 1},
        {100, 100},   {9999, 9999},     {10000, 10000},         {10001, 10000},
        {99999, 10000}, {2147483647, 10000},
    };
    for (const Case& c : cases) EXPECT_EQ(ClampHistoryLimit(c.stored), c.loaded) << c.stored;
}

TEST(LoadSettingsSteps, FavouritesAreCappedAtThirtyTwoKeepingTheFirst) {
    const Lines forty = NumberedPaths(40);
    const Lines capped = CapFavorites(forty);
    EXPECT_EQ(capped, Lines(forty.begin(), forty.begin() + 32));
    EXPECT_EQ(CapFavorites(NumberedPaths(32)), NumberedPaths(32));
    EXPECT_EQ(CapFavorites(NumberedPaths(3)), NumberedPaths(3));
}

TEST(LoadSettingsSteps, MultiStringSplitsUpToTheFirstEmptyStringWithinItsUnits) {
    struct Case {
        const char* what;
        std::wstring units;
        Lines strings;
    };
    const Case cases[] = {
        {"well formed", L"C:\\a\0D:\\b\0\0"s, {L"C:\\a", L"D:\\b"}},
        {"without the final empty string", L"C:\\a\0D:\\b\0"s, {L"C:\\a", L"D:\\b"}},
        {"without the last terminator", L"C:\\a\0D:\\b"s, {L"C:\\a", L"D:\\b"}},
        {"stops at the first empty string", L"C:\\a\0\0D:\\b\0\0"s, {L"C:\\a"}},
        {"begins with the empty string", L"\0C:\\a\0\0"s, {}},
        {"nothing", L""s, {}},
        {"single string without terminator", L"C:\\文件夹"s, {L"C:\\文件夹"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitMultiString(c.units), c.strings) << c.what;
}

class LoadSettingsTest : public ConfigFolderTest {
protected:
    [[nodiscard]] std::wstring PathOf(const wchar_t* name) const { return ConfigFolder() + name; }

    // Every file name in the config folder.
    [[nodiscard]] Lines FilesInFolder() const {
        Lines names;
        WIN32_FIND_DATAW found{};
        UniqueFind search(FindFirstFileW((ConfigFolder() + L"*").c_str(), &found));
        if (!search) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
        } while (FindNextFileW(search.get(), &found));
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(LoadSettingsTest, HistoryLimitFromTheFileIsClamped) {
    struct Case {
        const wchar_t* line;
        int32_t loaded;
    };
    const Case cases[] = {
        {L"HistoryLimit=0", 100},     {L"HistoryLimit=abc", 100},         {L"HistoryLimit=99999", 10000},
        {L"HistoryLimit=-5", 100},    {L"HistoryLimit=99999999999", 10000}, {L"HistoryLimit=-99999999999", 100},
        {L"HistoryLimit=1", 1},       {L"HistoryLimit=10000", 10000},     {L"HistoryLimit=250", 250},
        {L"HistoryLimit=", 100},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteLines(PathOf(L"settings.txt"), {c.line}));
        EXPECT_EQ(LoadSettings().HistoryLimit, c.loaded) << testing::PrintToString(std::wstring(c.line));
    }
}

TEST_F(LoadSettingsTest, ReadsTheThreeFilesAndCapsOnlyTheFavourites) {
    ASSERT_TRUE(WriteLines(PathOf(L"settings.txt"),
                           {L"ViewMode=4x", L"ViewIconSize = 64", L"WindowX=0", L"ActiveTab=-99999999999",
                            L"NewTabPath=C:\\a=b"}));
    ASSERT_TRUE(WriteLines(PathOf(L"favorites.txt"), NumberedPaths(40)));
    ASSERT_TRUE(WriteLines(PathOf(L"tabs.txt"), NumberedPaths(40)));

    const Settings loaded = LoadSettings();
    Settings expected;
    expected.ViewMode = 4;
    expected.HasWindowRect = true;
    expected.ActiveTab = -2147483647 - 1;
    expected.NewTabPath = L"C:\\a=b";
    expected.Favorites = CapFavorites(NumberedPaths(40));
    expected.TabPaths = NumberedPaths(40);
    expected.TabHistories.resize(40);
    expected.TabSplits.resize(40);
    expected.TabMarkings.resize(40);
    EXPECT_EQ(loaded, expected);

    // Loading writes nothing back, not even the capped favourites.
    EXPECT_EQ(ReadLines(PathOf(L"favorites.txt")).size(), 40u);
}

TEST_F(LoadSettingsTest, ListFileThatCannotBeReadAtLoadIsNotReplacedBySaving) {
    ASSERT_TRUE(WriteLines(PathOf(L"settings.txt"), {L"FavBarVisible=1"}));
    ASSERT_TRUE(WriteLines(PathOf(L"favorites.txt"), {L"C:\\Kept"}));
    ASSERT_TRUE(WriteLines(PathOf(L"tabs.txt"), {L"C:\\Tab"}));
    Settings loaded;
    {
        // Another program holds favorites.txt while the window starts.
        UniqueKernelHandle holder(CreateFileW(PathOf(L"favorites.txt").c_str(), GENERIC_READ, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        loaded = LoadSettings();
    }
    EXPECT_TRUE(loaded.FavoritesUnreadable);
    EXPECT_FALSE(loaded.TabPathsUnreadable);
    EXPECT_TRUE(loaded.Favorites.empty());

    SettingsStore store{loaded};
    EXPECT_TRUE(store.AddFavourite(L"D:\\Added"));
    store.SetTabs(SavedTabs{{L"C:\\Tab", L"D:\\New"}, {{}, {}}, {}, {}}, 1);
    FlushSaves();
    EXPECT_EQ(ReadLines(PathOf(L"favorites.txt")), Lines{L"C:\\Kept"});
    EXPECT_EQ(ReadLines(PathOf(L"tabs.txt")), (Lines{L"C:\\Tab", L"D:\\New"}));
    EXPECT_TRUE(LoadSettings().FavBarVisible);
}

// Tests that write the legacy key HKCU\Software\Quorlen.
class LegacyKeyTest : public LoadSettingsTest {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        LoadSettingsTest::SetUp();
        if (HasFatalFailure()) return;
        setAside.emplace(HKEY_CURRENT_USER, kLegacySettingsKey);
        ASSERT_TRUE(setAside->Ready()) << "could not set the legacy key aside";
        ASSERT_FALSE(LegacyKeyExists());
    }
    void TearDown() override {
        legacyKey.reset();
        setAside.reset();
        LoadSettingsTest::TearDown();
    }

    [[nodiscard]] static bool LegacyKeyExists() {
        UniqueKey key;
        return RegOpenKeyExW(HKEY_CURRENT_USER, kLegacySettingsKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
    }

    // Creates the legacy key (once) and returns it open for writing.
    HKEY LegacyKey() {
        if (!legacyKey) {
            EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kLegacySettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                      legacyKey.put(), nullptr),
                      ERROR_SUCCESS);
        }
        return legacyKey.get();
    }

    void SetNumber(const wchar_t* name, DWORD value) {
        ASSERT_EQ(RegSetValueExW(LegacyKey(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof(value)),
                  ERROR_SUCCESS);
    }

    void SetList(const wchar_t* name, const Lines& list) {
        std::wstring units;
        for (const std::wstring& item : list) units += item + L'\0';
        units += L'\0';
        SetRaw(name, REG_MULTI_SZ, Utf16Bytes(units));
    }

    void SetString(const wchar_t* name, const std::wstring& text) {
        SetRaw(name, REG_SZ, Utf16Bytes(text + L'\0'));
    }

    // Stores exactly these bytes. The registry adds a terminator to string data
    // whose count leaves out a zero that follows it, so what follows is never zero.
    void SetRaw(const wchar_t* name, DWORD type, const std::string& bytes) {
        const std::string buffer = bytes + "XXXX";
        ASSERT_EQ(RegSetValueExW(LegacyKey(), name, 0, type, reinterpret_cast<const BYTE*>(buffer.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
        DWORD stored = 0;
        ASSERT_EQ(RegQueryValueExW(LegacyKey(), name, nullptr, nullptr, nullptr, &stored), ERROR_SUCCESS);
        ASSERT_EQ(stored, bytes.size()) << "the sample value was not stored as given";
    }

    std::optional<RegistryKeySetAside> setAside;
    UniqueKey legacyKey;
};

TEST_F(LegacyKeyTest, WithoutSettingsFileOrKeyTheDefaultsLoadAndNothingIsWritten) {
    ASSERT_TRUE(WriteLines(PathOf(L"favorites.txt"), NumberedPaths(40)));
    ASSERT_TRUE(WriteLines(PathOf(L"tabs.txt"), {L"C:\\tab"}));

    Settings expected;
    expected.Favorites = CapFavorites(NumberedPaths(40));
    expected.TabPaths = {L"C:\\tab"};
    expected.TabHistories.resize(1);
    expected.TabSplits.resize(1);
    expected.TabMarkings.resize(1);
    EXPECT_EQ(LoadSettings(), expected);
    EXPECT_EQ(FilesInFolder(), (Lines{L"favorites.txt", L"tabs.txt"}));
    EXPECT_EQ(ReadLines(PathOf(L"favorites.txt")).size(), 40u);
}

TEST_F(LegacyKeyTest, MigratesTheKeyIntoTheThreeFilesAndLeavesTheKey) {
    SetNumber(L"NavVisible", 0);
    SetNumber(L"DetailsVisible", 1);
    SetNumber(L"PreviewVisible", 7);
    SetNumber(L"ShowHiddenFiles", 1);
    SetNumber(L"ShowFileExt", 0);
    SetNumber(L"ViewMode", static_cast<DWORD>(-1) - 3);
    SetNumber(L"ViewIconSize", 48);
    SetNumber(L"Takeover", 1);
    SetList(L"Favorites", {L"C:\\一", L"D:\\二", L"E:\\三"});
    SetList(L"TabPaths", {L"C:\\tab", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"});
    SetNumber(L"ActiveTab", 1);
    SetString(L"NewTabPath", L"C:\\新标签");
    // Values the migration has no place for.
    SetNumber(L"FavBarVisible", 1);
    SetNumber(L"SearchBoxVisible", 0);
    SetNumber(L"HistoryLimit", 5);
    SetString(L"BackupDir", L"D:\\backup");
    SetNumber(L"WindowX", 10);
    ASSERT_FALSE(HasFatalFailure());

    Settings expected;
    expected.NavVisible = false;
    expected.DetailsVisible = true;
    expected.PreviewVisible = true;
    expected.ShowHiddenFiles = true;
    expected.ShowFileExt = false;
    expected.ViewMode = -4;
    expected.ViewIconSize = 48;
    expected.Takeover = true;
    expected.Favorites = {L"C:\\一", L"D:\\二", L"E:\\三"};
    expected.TabPaths = {L"C:\\tab", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"};
    expected.ActiveTab = 1;
    expected.NewTabPath = L"C:\\新标签";
    EXPECT_EQ(ReadLegacySettings(), expected);

    // The migrated tabs are matched with their lists and splits, none here.
    expected.TabHistories.resize(expected.TabPaths.size());
    expected.TabSplits.resize(expected.TabPaths.size());
    expected.TabMarkings.resize(expected.TabPaths.size());
    EXPECT_EQ(LoadSettings(), expected);
    EXPECT_EQ(ReadLines(PathOf(L"settings.txt")), PrintSettingsLines(expected));
    EXPECT_EQ(ReadLines(PathOf(L"favorites.txt")), expected.Favorites);
    EXPECT_EQ(ReadLines(PathOf(L"tabs.txt")), expected.TabPaths);

    // The key is only read; from now on the files are the store.
    legacyKey.reset();
    EXPECT_TRUE(LegacyKeyExists());
    SetNumber(L"ViewIconSize", 16);
    // settings.txt always holds the window lines, so the next load has a rectangle;
    // a load from the files gives each tab its history, none here.
    expected.HasWindowRect = true;
    EXPECT_EQ(LoadSettings(), expected);
}

TEST_F(LegacyKeyTest, MigrationKeepsListFilesThatAlreadyHoldEntries) {
    SetNumber(L"ViewIconSize", 48);
    SetList(L"Favorites", {L"C:\\from-registry"});
    SetList(L"TabPaths", {L"C:\\tab-from-registry"});
    ASSERT_FALSE(HasFatalFailure());
    // Written by hand, without byte-order mark, so that a rewrite would show.
    const std::string favoritesBytes = Utf16Bytes(L"C:\\mine\r\nD:\\也是我的\r\n");
    const std::string tabsBytes = Utf16Bytes(L"E:\\tab");
    for (const auto& [name, bytes] : {std::pair{L"favorites.txt", favoritesBytes}, std::pair{L"tabs.txt", tabsBytes}}) {
        UniqueKernelHandle file(CreateFileW(PathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }
    // The tabs kept keep their lists, splits and marks too.
    ASSERT_TRUE(WriteLines(PathOf(L"tabhistory.txt"), {L">1", L"E:\\", L"E:\\tab"}));
    ASSERT_TRUE(WriteLines(PathOf(L"tabsplit.txt"), {L"|0|500|0|E:\\tab", L">0", L"F:\\"}));
    ASSERT_TRUE(WriteLines(PathOf(L"tabmarks.txt"), {L"|0|1|0|0|E:\\tab|"}));

    const Settings loaded = LoadSettings();
    EXPECT_EQ(loaded.ViewIconSize, 48);
    EXPECT_EQ(loaded.Favorites, (Lines{L"C:\\mine", L"D:\\也是我的"}));
    EXPECT_EQ(loaded.TabPaths, Lines{L"E:\\tab"});
    EXPECT_EQ(loaded.TabHistories, (std::vector<TabHistory>{{{L"E:\\", L"E:\\tab"}, 1}}));
    ASSERT_EQ(loaded.TabSplits.size(), 1u);
    EXPECT_TRUE(loaded.TabSplits[0].split);
    ASSERT_EQ(loaded.TabMarkings.size(), 1u);
    EXPECT_TRUE(loaded.TabMarkings[0].pinned);
    EXPECT_EQ(ReadLines(PathOf(L"settings.txt")).at(6), L"ViewIconSize=48");

    std::string favoritesNow;
    std::string tabsNow;
    for (auto [name, bytes] : {std::pair{L"favorites.txt", &favoritesNow}, std::pair{L"tabs.txt", &tabsNow}}) {
        UniqueKernelHandle file(CreateFileW(PathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        bytes->resize(1024);
        DWORD read = 0;
        ASSERT_TRUE(ReadFile(file.get(), bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr));
        bytes->resize(read);
    }
    EXPECT_EQ(favoritesNow, favoritesBytes);
    EXPECT_EQ(tabsNow, tabsBytes);
}

TEST_F(LegacyKeyTest, MigrationFillsListFilesThatHoldNothing) {
    SetList(L"Favorites", {L"C:\\a", L"C:\\b", L"C:\\c"});
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(WriteLines(PathOf(L"favorites.txt"), {}));

    const Settings loaded = LoadSettings();
    EXPECT_EQ(loaded.Favorites, (Lines{L"C:\\a", L"C:\\b", L"C:\\c"}));
    EXPECT_TRUE(loaded.TabPaths.empty());
    EXPECT_EQ(ReadLines(PathOf(L"favorites.txt")), loaded.Favorites);
    // The key has no tab list: tabs.txt is written empty.
    EXPECT_EQ(FilesInFolder(), (Lines{L"favorites.txt", L"settings.txt", L"tabs.txt"}));
    EXPECT_TRUE(ReadLines(PathOf(L"tabs.txt")).empty());
}

TEST_F(LegacyKeyTest, MigratedRecordIsCappedOnlyByTheNextLoad) {
    SetList(L"Favorites", NumberedPaths(40));
    ASSERT_FALSE(HasFatalFailure());

    EXPECT_EQ(LoadSettings().Favorites.size(), 40u);
    EXPECT_EQ(ReadLines(PathOf(L"favorites.txt")).size(), 40u);
    EXPECT_EQ(LoadSettings().Favorites, CapFavorites(NumberedPaths(40)));
}

TEST_F(LegacyKeyTest, ExistingSettingsFileMeansTheKeyIsNotRead) {
    SetNumber(L"ViewIconSize", 48);
    SetList(L"Favorites", {L"C:\\from-registry"});
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(WriteLines(PathOf(L"settings.txt"), {L"ViewMode=1"}));

    const Settings loaded = LoadSettings();
    EXPECT_EQ(loaded.ViewIconSize, 32);
    EXPECT_EQ(loaded.ViewMode, 1);
    EXPECT_TRUE(loaded.Favorites.empty());
    EXPECT_EQ(FilesInFolder(), Lines{L"settings.txt"});
}

TEST_F(LegacyKeyTest, NumbersOfAnotherSizeKeepTheirDefaults) {
    const uint64_t wide = 4;
    ASSERT_EQ(RegSetValueExW(LegacyKey(), L"ViewMode", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&wide),
                             sizeof(wide)),
              ERROR_SUCCESS);
    SetRaw(L"ViewIconSize", REG_BINARY, "\x10\x00"s);
    SetRaw(L"ShowFileExt", REG_BINARY, ""s);
    SetNumber(L"ActiveTab", 2);
    ASSERT_FALSE(HasFatalFailure());

    const Settings legacy = ReadLegacySettings();
    EXPECT_EQ(legacy.ViewMode, -1);
    EXPECT_EQ(legacy.ViewIconSize, 32);
    EXPECT_TRUE(legacy.ShowFileExt);
    EXPECT_EQ(legacy.ActiveTab, 2);
}

TEST_F(LegacyKeyTest, StringReadsStayWithinTheValue) {
    struct Case {
        const char* what;
        DWORD type;
        std::string bytes;
        std::wstring text;
    };
    const std::wstring longText(10000, L'长');
    const Case cases[] = {
        {"terminated", REG_SZ, Utf16Bytes(L"C:\\abc\0"s), L"C:\\abc"},
        {"without terminator", REG_SZ, Utf16Bytes(L"C:\\abc"), L"C:\\abc"},
        {"odd size", REG_SZ, Utf16Bytes(L"C:\\abc") + "d", L"C:\\abc"},
        {"zero inside", REG_SZ, Utf16Bytes(L"C:\\a\0bc\0"s), L"C:\\a"},
        {"only a terminator", REG_SZ, Utf16Bytes(L"\0"s), L""},
        {"long, without terminator", REG_EXPAND_SZ, Utf16Bytes(longText), longText},
        {"any type", REG_BINARY, Utf16Bytes(L"C:\\x"), L"C:\\x"},
    };
    for (const Case& c : cases) {
        SetRaw(L"Sample", c.type, c.bytes);
        ASSERT_FALSE(HasFatalFailure()) << c.what;
        EXPECT_EQ(ReadRegistryString(LegacyKey(), L"Sample", L"fallback"), c.text) << c.what;
    }

    SetRaw(L"Empty", REG_SZ, ""s);
    SetRaw(L"OneByte", REG_BINARY, "C"s);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(ReadRegistryString(LegacyKey(), L"Empty", L"fallback"), L"fallback");
    EXPECT_EQ(ReadRegistryString(LegacyKey(), L"OneByte", L"fallback"), L"fallback");
    EXPECT_EQ(ReadRegistryString(LegacyKey(), L"Missing", L"fallback"), L"fallback");
}

TEST_F(LegacyKeyTest, StringListReadsStayWithinTheValue) {
    struct Case {
        const char* what;
        std::string bytes;
        Lines list;
    };
    const Case cases[] = {
        {"well formed", Utf16Bytes(L"C:\\a\0D:\\b\0\0"s), {L"C:\\a", L"D:\\b"}},
        {"without the final empty string", Utf16Bytes(L"C:\\a\0D:\\b\0"s), {L"C:\\a", L"D:\\b"}},
        {"without any final zero", Utf16Bytes(L"C:\\a\0D:\\b"s), {L"C:\\a", L"D:\\b"}},
        {"odd size", Utf16Bytes(L"C:\\a\0D:\\b"s) + "e", {L"C:\\a", L"D:\\b"}},
        {"only the final empty string", Utf16Bytes(L"\0"s), {}},
    };
    for (const Case& c : cases) {
        SetRaw(L"Sample", REG_MULTI_SZ, c.bytes);
        ASSERT_FALSE(HasFatalFailure()) << c.what;
        EXPECT_EQ(ReadRegistryStringList(LegacyKey(), L"Sample"), c.list) << c.what;
    }

    SetRaw(L"Empty", REG_MULTI_SZ, ""s);
    SetRaw(L"OneByte", REG_BINARY, "C"s);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(ReadRegistryStringList(LegacyKey(), L"Empty").empty());
    EXPECT_TRUE(ReadRegistryStringList(LegacyKey(), L"OneByte").empty());
    EXPECT_TRUE(ReadRegistryStringList(LegacyKey(), L"Missing").empty());
}

}  // namespace
