#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config_folder_fixture.h"
#include "settings/line_file.h"
#include "settings/load_settings.h"
#include "settings/save_queue.h"
#include "settings_printer.h"
#include "ui/handles.h"

namespace {

using Lines = std::vector<std::wstring>;

TEST(SettingsDecimal, ReadsLikeTheCLibraryAndClampsTo32Bits) {
    struct Case {
        const wchar_t* text;
        int32_t value;
    };
    const Case cases[] = {
        {L"42", 42},
        {L" \t 42", 42},
        {L"+7", 7},
        {L"-1", -1},
        {L"0012", 12},
        {L"4x", 4},
        {L"12 34", 12},
        {L"", 0},
        {L"abc", 0},
        {L"-", 0},
        {L"+-3", 0},
        {L"- 3", 0},
        {L"x4", 0},
        {L"2147483647", 2147483647},
        {L"2147483648", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"-2147483649", -2147483647 - 1},
        {L"99999999999", 2147483647},
        {L"-99999999999", -2147483647 - 1},
        {L"99999999999999999999999999999", 2147483647},
        {L"\uFF14", 0},  // a full-width digit is not a decimal digit here
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.value) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(SettingsLines, DefaultRecordPrintsTheLinesInOrderWithTheLaterOnesAfterTheFirstEighteen) {
    const Lines expected = {
        L"NavVisible=1",     L"DetailsVisible=0", L"PreviewVisible=0", L"ShowHiddenFiles=0",
        L"ShowFileExt=1",    L"ViewMode=-1",      L"ViewIconSize=32",  L"Takeover=0",
        L"FavBarVisible=0",  L"SearchBoxVisible=1", L"NewTabPath=",    L"BackupDir=",
        L"ActiveTab=0",      L"HistoryLimit=100", L"WindowX=0",        L"WindowY=0",
        L"WindowWidth=0",    L"WindowHeight=0",   L"Appearance=0",     L"RecentTabOrder=0",
    };
    EXPECT_EQ(PrintSettingsLines(Settings{}), expected);
}

Settings ChangedRecord() {
    Settings s;
    s.NavVisible = false;
    s.DetailsVisible = true;
    s.PreviewVisible = true;
    s.ShowHiddenFiles = true;
    s.ShowFileExt = false;
    s.ViewMode = 4;
    s.ViewIconSize = 96;
    s.Takeover = true;
    s.FavBarVisible = true;
    s.SearchBoxVisible = false;
    s.NewTabPath = L"C:\\a=b\\新建";
    s.BackupDir = L"D:\\备份";
    s.ActiveTab = 3;
    s.HistoryLimit = 500;
    s.HasWindowRect = true;
    s.WindowX = -1920;
    s.WindowY = -8;
    s.WindowWidth = 1280;
    s.WindowHeight = 800;
    s.Appearance = 2;
    s.RecentTabOrder = true;
    return s;
}

TEST(SettingsLines, ChangedRecordPrintsEveryValueAndReadsBackEqual) {
    const Settings changed = ChangedRecord();
    const Lines expected = {
        L"NavVisible=0",     L"DetailsVisible=1", L"PreviewVisible=1", L"ShowHiddenFiles=1",
        L"ShowFileExt=0",    L"ViewMode=4",       L"ViewIconSize=96",  L"Takeover=1",
        L"FavBarVisible=1",  L"SearchBoxVisible=0", L"NewTabPath=C:\\a=b\\新建", L"BackupDir=D:\\备份",
        L"ActiveTab=3",      L"HistoryLimit=500", L"WindowX=-1920",    L"WindowY=-8",
        L"WindowWidth=1280", L"WindowHeight=800", L"Appearance=2",     L"RecentTabOrder=1",
    };
    EXPECT_EQ(PrintSettingsLines(changed), expected);
    EXPECT_EQ(ParseSettingsLines(expected), changed);

    // Without a window line nothing says the rectangle was stored.
    Lines withoutWindow = expected;
    std::erase_if(withoutWindow, [](const std::wstring& line) { return line.starts_with(L"Window"); });
    EXPECT_FALSE(ParseSettingsLines(withoutWindow).HasWindowRect);
}

TEST(SettingsLines, FlagIsTrueOnlyForTheSingleCharacterOne) {
    EXPECT_TRUE(ParseSettingsLines({L"NavVisible=0", L"NavVisible=1"}).NavVisible);
    for (const wchar_t* line : {L"NavVisible=true", L"NavVisible=", L"NavVisible=01", L"NavVisible= 1",
                                L"NavVisible=1 ", L"NavVisible=2"}) {
        EXPECT_FALSE(ParseSettingsLines({line}).NavVisible) << testing::PrintToString(std::wstring(line));
    }
    // A default of false is turned on by "1" as well.
    EXPECT_TRUE(ParseSettingsLines({L"Takeover=1"}).Takeover);
}

TEST(SettingsLines, KeyIsTheExactTextBeforeTheFirstEqualsSign) {
    EXPECT_EQ(ParseSettingsLines({L"ViewMode = 4"}).ViewMode, -1);
    EXPECT_EQ(ParseSettingsLines({L"ViewMode =4"}).ViewMode, -1);
    EXPECT_EQ(ParseSettingsLines({L"viewmode=4"}).ViewMode, -1);
    EXPECT_EQ(ParseSettingsLines({L" ViewMode=4"}).ViewMode, -1);
    EXPECT_EQ(ParseSettingsLines({L"ViewMode=4x"}).ViewMode, 4);
    EXPECT_EQ(ParseSettingsLines({L"ViewMode= 4"}).ViewMode, 4);
    EXPECT_EQ(ParseSettingsLines({L"NewTabPath=C:\\a=b"}).NewTabPath, L"C:\\a=b");
    EXPECT_EQ(ParseSettingsLines({L"NewTabPath==x"}).NewTabPath, L"=x");
    EXPECT_EQ(ParseSettingsLines({L"BackupDir= D:\\b "}).BackupDir, L" D:\\b ");
}

TEST(SettingsLines, LastLineWinsAndUnknownOrMalformedLinesAreSkipped) {
    const Settings read = ParseSettingsLines({
        L"ViewIconSize=48",
        L"no equals sign here",
        L"Unknown=1",
        L"HasWindowRect=1",
        L"=5",
        L"ViewIconSize=64",
        L"NewTabPath=C:\\first",
        L"NewTabPath=",
    });
    Settings expected;
    expected.ViewIconSize = 64;
    EXPECT_EQ(read, expected);
}

TEST(SettingsLines, AnyWindowLineMarksTheRectangleStored) {
    const Settings onlyX = ParseSettingsLines({L"WindowX=0"});
    EXPECT_TRUE(onlyX.HasWindowRect);
    EXPECT_EQ(onlyX.WindowX, 0);
    EXPECT_EQ(onlyX.WindowY, 0);
    EXPECT_EQ(onlyX.WindowWidth, 0);
    EXPECT_EQ(onlyX.WindowHeight, 0);

    EXPECT_TRUE(ParseSettingsLines({L"WindowHeight=abc"}).HasWindowRect);
    EXPECT_FALSE(ParseSettingsLines({L"Window=1", L"WindowX =1"}).HasWindowRect);
}

TEST(SettingsLines, LimitsAreLeftToTheLoader) {
    const Settings read = ParseSettingsLines({L"HistoryLimit=0", L"ActiveTab=-99999999999"});
    EXPECT_EQ(read.HistoryLimit, 0);
    EXPECT_EQ(read.ActiveTab, -2147483647 - 1);
}

TEST(SettingsLines, ATextWithALineBreakStaysOneLineAndSetsNoOtherKey) {
    Settings settings;
    settings.NewTabPath = L"C:\\a\r\nTakeover=1";
    settings.BackupDir = L"D:\\b\nHistoryLimit=5\rViewMode=4";
    const Lines lines = PrintSettingsLines(settings);
    ASSERT_EQ(lines.size(), 20u);
    const Settings reread = ParseSettingsLines(DecodeLines(EncodeLines(lines)));
    EXPECT_EQ(reread.NewTabPath, L"C:\\a");
    EXPECT_EQ(reread.BackupDir, L"D:\\b");
    EXPECT_FALSE(reread.Takeover);
    EXPECT_EQ(reread.HistoryLimit, settings.HistoryLimit);
    EXPECT_EQ(reread.ViewMode, settings.ViewMode);
}

TEST(WindowRectLines, AppendsMissingWindowLinesInOrder) {
    const Lines lines = {L"NavVisible=0", L"ViewMode=4"};
    const Lines expected = {L"NavVisible=0", L"ViewMode=4", L"WindowX=100", L"WindowY=50", L"WindowWidth=1280",
                            L"WindowHeight=800"};
    EXPECT_EQ(WithWindowRect(lines, RECT{100, 50, 1380, 850}), expected);
    EXPECT_EQ(WithWindowRect({}, RECT{100, 50, 1380, 850}),
              (Lines{L"WindowX=100", L"WindowY=50", L"WindowWidth=1280", L"WindowHeight=800"}));
}

TEST(WindowRectLines, ReplacesWindowLinesInPlaceAndKeepsEveryOtherLine) {
    const Lines lines = {
        L"WindowHeight=1", L"NavVisible=0", L"WindowX=1", L"a line without equals", L"WindowY=1",
        L"Unknown=x",      L"WindowWidth=1", L"BackupDir=D:\\b",
    };
    const Lines expected = {
        L"WindowHeight=600", L"NavVisible=0",   L"WindowX=-1920", L"a line without equals", L"WindowY=-8",
        L"Unknown=x",        L"WindowWidth=800", L"BackupDir=D:\\b",
    };
    EXPECT_EQ(WithWindowRect(lines, RECT{-1920, -8, -1120, 592}), expected);
}

TEST(WindowRectLines, OnlyTheExactKeyBeforeTheFirstEqualsSignMatches) {
    const Lines lines = {L"WindowX = 5", L"windowy=5", L"WindowWidth", L"NewTabPath=WindowHeight=5"};
    const Lines expected = {L"WindowX = 5", L"windowy=5", L"WindowWidth", L"NewTabPath=WindowHeight=5",
                            L"WindowX=1",   L"WindowY=2", L"WindowWidth=3", L"WindowHeight=4"};
    EXPECT_EQ(WithWindowRect(lines, RECT{1, 2, 4, 6}), expected);
}

TEST(WindowRectLines, AKeyWrittenTwiceByHandKeepsOnlyTheNewValueSoItReadsBack) {
    const Lines lines = {L"WindowX=7", L"ViewMode=4", L"WindowX=9", L"windowx=3"};
    const Lines written = WithWindowRect(lines, RECT{1, 2, 4, 6});
    const Lines expected = {L"WindowX=1",   L"ViewMode=4", L"windowx=3",
                            L"WindowY=2",   L"WindowWidth=3", L"WindowHeight=4"};
    EXPECT_EQ(written, expected);
    EXPECT_EQ(ParseSettingsLines(written).WindowX, 1) << "a load takes the last line of a key";
}

TEST(WindowRectLines, ExtremeRectangleDoesNotOverflow) {
    const Lines written = WithWindowRect({}, RECT{-2147483647 - 1, 0, 2147483647, 0});
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(written[2], L"WindowWidth=4294967295");
    // Reading it back clamps to the 32-bit range.
    EXPECT_EQ(ParseSettingsLines(written).WindowWidth, 2147483647);
}

class SettingsFileTest : public ConfigFolderTest {
protected:
    [[nodiscard]] std::wstring PathOf(const wchar_t* name) const { return ConfigFolder() + name; }
    // What the file holds once the saves asked for so far are made.
    [[nodiscard]] Lines Saved(const wchar_t* name) const {
        FlushSaves();
        return ReadLines(PathOf(name));
    }
};

TEST_F(SettingsFileTest, TheListsAreWrittenWhileSettingsTxtIsHeld) {
    const std::wstring settingsPath = PathOf(L"settings.txt");
    ASSERT_TRUE(WriteLines(settingsPath, {L"ViewMode=7"}));
    Settings settings;
    settings.Favorites = {L"C:\\a"};
    settings.TabPaths = {L"C:\\b"};
    {
        UniqueKernelHandle holder(CreateFileW(settingsPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        SaveTabList(settings);
        SaveFavoriteList(settings);
        FlushSaves();
    }
    EXPECT_EQ(ReadLines(settingsPath), Lines{L"ViewMode=7"});
    EXPECT_EQ(Saved(L"favorites.txt"), settings.Favorites);
    EXPECT_EQ(Saved(L"tabs.txt"), settings.TabPaths);
}

// Every line is written, in order: the values not saved as the file holds them
// (a value as it stands, not as it reads), the others as the defaults; lines of
// keys the program does not know follow.
TEST_F(SettingsFileTest, SaveWindowRectSetsTheWindowLinesAndWritesEverySetting) {
    const std::wstring path = PathOf(L"settings.txt");
    ASSERT_TRUE(WriteLines(path, {L"a note", L"NavVisible=0", L"WindowX=1", L"WindowY=2", L"WindowWidth=3",
                                  L"WindowHeight=4", L"Future=1", L"NewTabPath=C:\\x", L"ViewMode= 7 "}));
    SaveWindowRect(RECT{100, 50, 1380, 850});
    Settings expected;
    expected.NavVisible = false;
    expected.NewTabPath = L"C:\\x";
    expected.WindowX = 100;
    expected.WindowY = 50;
    expected.WindowWidth = 1280;
    expected.WindowHeight = 800;
    Lines lines = PrintSettingsLines(expected);
    lines[5] = L"ViewMode= 7 ";
    lines.push_back(L"a note");
    lines.push_back(L"Future=1");
    EXPECT_EQ(Saved(L"settings.txt"), lines);
}

TEST_F(SettingsFileTest, SaveTabListTouchesOnlyTheTabsAndTheActiveTab) {
    // The user or another tool changed these since the record was loaded.
    const Lines settingsLines{L"FavBarVisible=1", L"ActiveTab=4", L"NewTabPath=C:\\新"};
    ASSERT_TRUE(WriteLines(PathOf(L"settings.txt"), settingsLines));
    ASSERT_TRUE(WriteLines(PathOf(L"favorites.txt"), {L"C:\\added elsewhere"}));

    Settings stale;
    stale.TabPaths = {L"C:\\a", L"D:\\"};
    stale.ActiveTab = 1;
    SaveTabList(stale);
    EXPECT_EQ(Saved(L"tabs.txt"), stale.TabPaths);
    Settings expected;
    expected.FavBarVisible = true;
    expected.ActiveTab = 1;
    expected.NewTabPath = L"C:\\新";
    EXPECT_EQ(Saved(L"settings.txt"), PrintSettingsLines(expected));
    EXPECT_EQ(Saved(L"favorites.txt"), Lines{L"C:\\added elsewhere"});

    // A tab list that could not be read at start-up is never replaced.
    ASSERT_TRUE(WriteLines(PathOf(L"tabs.txt"), {L"C:\\kept"}));
    stale.TabPathsUnreadable = true;
    SaveTabList(stale);
    EXPECT_EQ(Saved(L"tabs.txt"), Lines{L"C:\\kept"});
}

TEST_F(SettingsFileTest, ALoadSeesEverySaveAskedBeforeItEachOnTheFileAsTheOneBeforeLeftIt) {
    Settings record;
    record.TabPaths = {L"C:\\a", L"D:\\"};
    record.ActiveTab = 1;
    record.Favorites = {L"C:\\收藏"};
    SaveTabList(record);
    SaveFavoriteList(record);
    record.ViewMode = 4;
    SaveSettingsOf(record, {L"ViewMode"});
    SaveWindowRect(RECT{10, 20, 110, 220});

    const Settings loaded = LoadSettings();
    EXPECT_EQ(loaded.TabPaths, record.TabPaths);
    EXPECT_EQ(loaded.Favorites, record.Favorites);
    // Three saves rewrote settings.txt; each kept the lines of the one before.
    EXPECT_EQ(loaded.ActiveTab, 1);
    EXPECT_EQ(loaded.ViewMode, 4);
    EXPECT_EQ(loaded.WindowWidth, 100);
}

// A first start that restores tabs into a folder without settings.txt writes
// every setting, not the active tab alone.
TEST_F(SettingsFileTest, ASaveOfSomeLinesCreatesAWholeSettingsFile) {
    Settings record;
    record.TabPaths = {L"C:\\a", L"D:\\"};
    record.ActiveTab = 1;
    SaveTabList(record);
    Settings expected;
    expected.ActiveTab = 1;
    EXPECT_EQ(Saved(L"settings.txt"), PrintSettingsLines(expected));

    // A save that changes no value leaves a file as it is, whole or not.
    ASSERT_TRUE(WriteLines(PathOf(L"settings.txt"), {L"ActiveTab=1"}));
    SaveTabList(record);
    EXPECT_EQ(Saved(L"settings.txt"), Lines{L"ActiveTab=1"});

    ASSERT_TRUE(DeleteFileW(PathOf(L"settings.txt").c_str()));
    SaveWindowRect(RECT{100, 50, 1380, 850});
    expected = Settings{};
    expected.WindowX = 100;
    expected.WindowY = 50;
    expected.WindowWidth = 1280;
    expected.WindowHeight = 800;
    EXPECT_EQ(Saved(L"settings.txt"), PrintSettingsLines(expected));
}

TEST_F(SettingsFileTest, SaveWindowRectLeavesASettingsFileItCannotReadWhole) {
    // Larger than the read limit: what could be read is only a part, and writing
    // that part back would lose the rest.
    const std::wstring path = PathOf(L"settings.txt");
    const std::string head = EncodeLines({L"NavVisible=0"});
    const std::string tail = EncodeLines({L"Tail"}).substr(2);
    const uint64_t size = kLineFileReadLimit + 1024;
    {
        UniqueKernelHandle file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &written, nullptr));
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(size - tail.size());
        ASSERT_TRUE(SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN));
        ASSERT_TRUE(WriteFile(file.get(), tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr));
    }

    SaveWindowRect(RECT{100, 50, 1380, 850});
    FlushSaves();

    UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER actualSize{};
    ASSERT_TRUE(GetFileSizeEx(file.get(), &actualSize));
    EXPECT_EQ(static_cast<uint64_t>(actualSize.QuadPart), size);
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size - tail.size());
    ASSERT_TRUE(SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN));
    std::string end(tail.size(), '\0');
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file.get(), end.data(), static_cast<DWORD>(end.size()), &read, nullptr));
    EXPECT_EQ(end, tail);
}

}  // namespace
