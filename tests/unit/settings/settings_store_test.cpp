#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "settings/line_file.h"
#include "settings/load_settings.h"
#include "settings/save_queue.h"
#include "settings/settings_file.h"
#include "config_folder_fixture.h"
#include "settings_printer.h"

namespace {

using Lines = std::vector<std::wstring>;

class SettingsStoreTest : public ConfigFolderTest {
protected:
    // What the file holds once the saves asked for so far are made.
    [[nodiscard]] Lines Saved(const wchar_t* name) const {
        FlushSaves();
        return ReadLines(ConfigFolder() + name);
    }
};

// What another writer left in settings.txt: numbers and texts unlike both the
// defaults, which the store below starts from, and what its saves set.
Settings ValuesSetElsewhere() {
    Settings elsewhere;
    elsewhere.ViewMode = 6;
    elsewhere.ViewIconSize = 256;
    elsewhere.NewTabPath = L"E:\\elsewhere";
    elsewhere.BackupDir = L"E:\\backup elsewhere";
    elsewhere.ActiveTab = 9;
    elsewhere.HistoryLimit = 7;
    elsewhere.WindowX = 5;
    elsewhere.WindowY = 6;
    elsewhere.WindowWidth = 7;
    elsewhere.WindowHeight = 8;
    return elsewhere;
}

// The store started from defaults while settings.txt holds other values, as
// when the user edits the file while the program runs: each save rewrites the
// lines of the values it changed in the record and no other, keeps the lines
// of keys the program does not know, and writes the lists it changed whole.
// The windows are told of the changes they show. The takeover's undo for
// another copy keeps the unknown lines as well.
TEST_F(SettingsStoreTest, EverySaveWritesOnlyWhatItChangedAndKeepsTheLinesOfKeysItDoesNotKnow) {
    const std::wstring settingsPath = ConfigFolder() + kSettingsFileName;
    Lines original = PrintSettingsLines(ValuesSetElsewhere());
    original.insert(original.begin(), L"; my note");
    original.push_back(L"OtherTool=7");
    ASSERT_TRUE(WriteLines(settingsPath, original));

    SettingsStore store{Settings{}};
    std::vector<SettingsChange> told;
    store.onChange = [&](SettingsChange what) { told.push_back(what); };
    Settings dialogChoices;
    dialogChoices.NewTabPath = L"C:\\新标签";
    dialogChoices.BackupDir = L"D:\\备份";
    dialogChoices.HistoryLimit = 500;
    dialogChoices.FavBarVisible = true;
    dialogChoices.SearchBoxVisible = false;
    // Every other field differs from the store's, and none of it may be saved.
    dialogChoices.NavVisible = false;
    dialogChoices.ViewMode = 3;
    dialogChoices.Favorites = {L"C:\\not from the dialog"};
    // The dialog's switch keeps the takeover flag itself: the copy the dialog
    // opened with is older than what SetTakeover kept since.
    dialogChoices.Takeover = false;

    const std::pair<const char*, std::function<void()>> saves[] = {
        {"SetViewMode", [&] { store.SetViewMode(4, 96); }},
        {"SetNavigationPaneVisible", [&] { store.SetNavigationPaneVisible(false); }},
        {"SetPreviewPaneVisible", [&] { store.SetPreviewPaneVisible(true); }},
        {"SetShowFileExtensions", [&] { store.SetShowFileExtensions(false); }},
        {"SetShowHiddenItems", [&] { store.SetShowHiddenItems(true); }},
        {"SetTakeover", [&] { store.SetTakeover(true); }},
        {"ApplyDialogChoices", [&] { store.ApplyDialogChoices(dialogChoices); }},
        {"AddFavourite", [&] { EXPECT_TRUE(store.AddFavourite(L"C:\\收藏")); }},
        {"AddFavourite", [&] { EXPECT_TRUE(store.AddFavourite(L"D:\\")); }},
        {"MoveFavourite", [&] { EXPECT_TRUE(store.MoveFavourite(0, 1)); }},
        {"RemoveFavourite", [&] { EXPECT_TRUE(store.RemoveFavourite(1)); }},
        {"SetTabs",
         [&] {
             store.SetTabs(SavedTabs{{L"C:\\a", L"D:\\"}, {{{L"C:\\", L"C:\\a"}, 1}, {{L"D:\\", L"D:\\x"}, 0}}, {}, {}}, 1);
         }},
        {"SetWindowRect", [&] { store.SetWindowRect(RECT{-1920, -8, -640, 792}); }},
    };
    for (const auto& [name, save] : saves) {
        SCOPED_TRACE(name);
        const Lines fileBefore = Saved(kSettingsFileName);
        const Lines recordBefore = PrintSettingsLines(store.Values());
        save();
        const Lines recordAfter = PrintSettingsLines(store.Values());
        Lines expected = PrintSettingsLines(ParseSettingsLines(fileBefore));
        for (size_t i = 0; i < expected.size(); ++i) {
            if (recordAfter[i] != recordBefore[i]) expected[i] = recordAfter[i];
        }
        const Lines fileAfter = Saved(kSettingsFileName);
        EXPECT_EQ(PrintSettingsLines(ParseSettingsLines(fileAfter)), expected);
        EXPECT_EQ(fileAfter.back(), L"OtherTool=7");
        EXPECT_NE(std::find(fileAfter.begin(), fileAfter.end(), L"; my note"), fileAfter.end());
        EXPECT_EQ(Saved(kFavoritesFileName), store.Values().Favorites);
        EXPECT_EQ(Saved(kTabsFileName), store.Values().TabPaths);
    }
    EXPECT_EQ(LoadSettings().TabHistories, store.Values().TabHistories);
    EXPECT_TRUE(store.Values().Takeover);
    EXPECT_TRUE(ParseSettingsLines(Saved(kSettingsFileName)).Takeover);
    using enum SettingsChange;
    EXPECT_EQ(told, (std::vector<SettingsChange>{DialogChoices, Favourites, Favourites, Favourites, Favourites}));

    SaveTakeoverOffAt(settingsPath);
    const Lines undone = ReadLines(settingsPath);
    EXPECT_EQ(undone.back(), L"OtherTool=7");
    EXPECT_NE(std::find(undone.begin(), undone.end(), L"; my note"), undone.end());
    EXPECT_FALSE(ParseSettingsLines(undone).Takeover);
}

// A window opened later starts from the rectangle the last closed one saved,
// as a load of the saved lines reads it: even one too wide to hold in 32 bits.
TEST_F(SettingsStoreTest, ASavedWindowRectangleReadsBackAsALoadWouldReadIt) {
    SettingsStore store{LoadSettings()};
    ASSERT_FALSE(store.Values().HasWindowRect);
    store.SetWindowRect(RECT{-2147483647 - 1, 10, 2147483647, 20});
    FlushSaves();
    EXPECT_EQ(store.Values(), LoadSettings());
}

}  // namespace
