#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"

namespace {

class StartWithFolder : public TabsTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + folders[0] + L"\""; }
};

TEST_F(StartWithFolder, OpensOneTabWithALiveShellViewAndSavesIt) {
    ASSERT_TRUE(WaitForSavedTabs({folders[0]}));
    EXPECT_EQ(Query(strip, kTabCount), 1);
    EXPECT_EQ(Query(strip, kActiveTab), 0);

    HWND host = GetDlgItem(window, 3);
    ASSERT_NE(host, nullptr) << "no panel host";
    wchar_t className[64] = {};
    GetClassNameW(host, className, 64);
    EXPECT_STREQ(className, L"Quorlen.PanelHost");
    EXPECT_TRUE(WaitUntil([&] { return FindDescendant(host, L"SHELLDLL_DefView") != nullptr; }, 10000))
        << "the Explorer Browser shows no shell view";
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"alpha"; }, 10000))
        << "the active tab is titled '" << NarrowForTest(WindowText(strip)) << "'";
}

TEST_F(StartWithFolder, ClosingTheOnlyTabClosesTheWindowAndKeepsTheSavedTab) {
    ASSERT_TRUE(WaitForSavedTabs({folders[0]}));
    EXPECT_EQ(Query(strip, kCloseTab, 0), 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(SamePaths(ReadConfigLines(install, L"tabs.txt"), {folders[0]}));
    EXPECT_TRUE(ReadConfigLines(install, L"history.txt").empty());
}

// The saved list as a person might have typed it. The program writes back the
// shell's own spelling of each tab that has been shown, which tells the tests so.
std::vector<std::wstring> WithTrailingBackslashes(std::vector<std::wstring> paths) {
    for (std::wstring& path : paths) path += L"\\";
    return paths;
}

class ThreeSavedTabs : public TabsTest {
protected:
    void PrepareConfig() override {
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", WithTrailingBackslashes(folders)));
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"ActiveTab=" + std::to_wstring(savedActive)}));
    }
    int savedActive = 1;
};

TEST_F(ThreeSavedTabs, RestoresEveryTabWithTheSavedOneActive) {
    ASSERT_TRUE(WaitForTabCount(3));
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == 1; }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"beta"; }, 10000));
    // Once the restore is over, the list is saved again in the same order.
    EXPECT_TRUE(WaitForSavedTabs({folders[0] + L"\\", folders[1], folders[2] + L"\\"}));
}

TEST_F(ThreeSavedTabs, SelectingAndClosingGoThroughTheQueryMessages) {
    ASSERT_TRUE(WaitForTabCount(3));
    ASSERT_TRUE(WaitForSavedTabs({folders[0] + L"\\", folders[1], folders[2] + L"\\"}));

    EXPECT_EQ(Query(strip, kSelectTab, 2), 0);
    EXPECT_EQ(Query(strip, kActiveTab), 2);
    // An index past the last tab changes nothing.
    EXPECT_EQ(Query(strip, kSelectTab, 3), 0);
    EXPECT_EQ(Query(strip, kCloseTab, 3), 0);
    EXPECT_EQ(Query(strip, kTabCount), 3);
    EXPECT_EQ(Query(strip, kActiveTab), 2);

    // Closing the active last tab hands over to the new last one and remembers the folder.
    EXPECT_EQ(Query(strip, kCloseTab, 2), 0);
    EXPECT_EQ(Query(strip, kTabCount), 2);
    EXPECT_EQ(Query(strip, kActiveTab), 1);
    EXPECT_TRUE(WaitForHistory({folders[2]})) << "history.txt never held the closed folder";
    EXPECT_TRUE(WaitForSavedTabs({folders[0] + L"\\", folders[1]}));

    // Closing a tab left of the active one keeps the same tab active.
    EXPECT_EQ(Query(strip, kCloseTab, 0), 0);
    EXPECT_EQ(Query(strip, kTabCount), 1);
    EXPECT_EQ(Query(strip, kActiveTab), 0);
    EXPECT_TRUE(WaitForSavedTabs({folders[1]}));
    EXPECT_TRUE(WaitForHistory({folders[2], folders[0] + L"\\"})) << "history.txt never held both closed folders";
}

TEST_F(ThreeSavedTabs, TabStepsWrapAround) {
    ASSERT_TRUE(WaitForTabCount(3));
    ASSERT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == 1; }, 10000));
    // Posted, as the wheel hook posts it; the answer follows once it is handled.
    const auto step = [&](WPARAM previous, LRESULT expected) {
        EXPECT_TRUE(PostMessageW(window, WM_APP + 5, previous, 0));
        return WaitUntil([&] { return Query(strip, kActiveTab) == expected; }, 5000);
    };
    EXPECT_TRUE(step(0, 2));
    EXPECT_TRUE(step(0, 0));
    EXPECT_TRUE(step(1, 2));
}

// An installer's Restart Manager asks the program to close, then restarts it
// after the install: no question holds the install up, and every tab is kept.
TEST_F(ThreeSavedTabs, AnInstallersCloseEndsTheProgramWithoutAQuestion) {
    ASSERT_TRUE(WaitForTabCount(3));
    ASSERT_TRUE(WaitForSavedTabs({folders[0] + L"\\", folders[1], folders[2] + L"\\"}));
    DWORD_PTR mayEnd = FALSE;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, &mayEnd));
    EXPECT_EQ(mayEnd, static_cast<DWORD_PTR>(TRUE));
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, nullptr));
    DWORD exitCode = 1234;
    ASSERT_TRUE(quorlen.WaitForExit(5000, exitCode)) << "still running 5 s after the installer's close: a question?";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(SamePaths(ReadConfigLines(install, L"tabs.txt"), {folders[0] + L"\\", folders[1], folders[2] + L"\\"}));
}

class SavedActiveBeyondTheList : public ThreeSavedTabs {
protected:
    void PrepareConfig() override {
        savedActive = 7;
        ThreeSavedTabs::PrepareConfig();
    }
};

TEST_F(SavedActiveBeyondTheList, LeavesTheLastRestoredTabActive) {
    ASSERT_TRUE(WaitForTabCount(3));
    EXPECT_EQ(Query(strip, kActiveTab), 2);
}

class OneSavedTab : public TabsTest {
protected:
    void PrepareConfig() override {
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", WithTrailingBackslashes({folders[1]})));
    }
};

TEST_F(OneSavedTab, OpensOneTab) {
    ASSERT_TRUE(WaitForSavedTabs({folders[1]}));
    EXPECT_EQ(Query(strip, kTabCount), 1);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(strip) == L"beta"; }, 10000));
}

TEST_F(OneSavedTab, AFolderOpenedOnTopOfTheSavedTabsIsAddedAndActivated) {
    const wchar_t* path = folders[2].c_str();
    COPYDATASTRUCT open{1, static_cast<DWORD>((folders[2].size() + 1) * sizeof(wchar_t)), const_cast<wchar_t*>(path)};
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&open), SMTO_ABORTIFHUNG, 15000,
                                    &answer));
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_EQ(Query(strip, kActiveTab), 1);
    ASSERT_TRUE(WaitForSavedTabs({folders[1], folders[2]}));

    // The same folder again, spelled differently, activates its tab instead of adding one.
    EXPECT_EQ(Query(strip, kSelectTab, 0), 0);
    std::wstring again = folders[2] + L"\\";
    for (wchar_t& c : again) c = static_cast<wchar_t>(towupper(c));
    COPYDATASTRUCT openAgain{1, static_cast<DWORD>((again.size() + 1) * sizeof(wchar_t)), again.data()};
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&openAgain), SMTO_ABORTIFHUNG,
                                    15000, &answer));
    EXPECT_EQ(Query(strip, kTabCount), 2);
    EXPECT_EQ(Query(strip, kActiveTab), 1);
}

// Restored tabs behind the active one are records until they are first shown:
// each shown tab has a shell view, the others only their saved lines.
class TwelveSavedTabs : public TabsTest {
protected:
    void PrepareConfig() override {
        for (int i = 0; i < 12; ++i) {
            names.push_back(L"tab " + std::to_wstring(i));
            twelve.push_back((data.Path() / names.back()).wstring());
            std::filesystem::create_directories(twelve.back());
        }
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", WithTrailingBackslashes(twelve)));
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"ActiveTab=4"}));
    }

    // The saved list once the given tabs have been shown: the shell's spelling
    // for those, the lines as they were saved for the rest.
    std::vector<std::wstring> SavedWithShown(const std::vector<size_t>& shown) const {
        std::vector<std::wstring> lines = WithTrailingBackslashes(twelve);
        for (size_t index : shown) lines[index] = twelve[index];
        return lines;
    }

    bool WaitForTitle(const std::wstring& title) {
        return WaitUntil([&] { return WindowText(strip) == title; }, 10000);
    }

    std::vector<std::wstring> names;
    std::vector<std::wstring> twelve;
};

TEST_F(TwelveSavedTabs, OnlyTheTabsShownAreBuiltAndEveryTabIsKept) {
    ASSERT_TRUE(WaitForTabCount(12));
    ASSERT_TRUE(WaitForSavedTabs(SavedWithShown({4}))) << "the restore was never saved";
    EXPECT_EQ(Query(strip, kActiveTab), 4);
    EXPECT_EQ(NavigatedPanelCount(window), 1) << "tabs not shown yet have shell views";

    // Shown for the first time, a tab gets its panel and its folder.
    EXPECT_EQ(Query(strip, kSelectTab, 9), 0);
    EXPECT_TRUE(WaitForTitle(names[9])) << "the strip names '" << NarrowForTest(WindowText(strip)) << "'";
    EXPECT_TRUE(WaitUntil([&] { return NavigatedPanelCount(window) == 2; }, 10000))
        << NavigatedPanelCount(window) << " shell views after showing a second tab";

    // One that was never shown closes into the history with its saved line.
    EXPECT_EQ(Query(strip, kCloseTab, 11), 0);
    EXPECT_TRUE(WaitForHistory({twelve[11] + L"\\"})) << "the closed tab is not in the history";

    // A folder handed over that a record holds activates that tab.
    const std::wstring handed = twelve[7];
    COPYDATASTRUCT open{1, static_cast<DWORD>((handed.size() + 1) * sizeof(wchar_t)),
                        const_cast<wchar_t*>(handed.c_str())};
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&open), SMTO_ABORTIFHUNG, 15000,
                                    &answer));
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kActiveTab) == 7; }, 10000));
    EXPECT_EQ(Query(strip, kTabCount), 11);
    EXPECT_TRUE(WaitForTitle(names[7]));

    // Closing the window keeps every tab, in order, shown or not.
    std::vector<std::wstring> kept = SavedWithShown({4, 7, 9});
    kept.pop_back();
    ASSERT_TRUE(CloseAnsweringYes());
    EXPECT_EQ(ReadConfigLines(install, L"tabs.txt"), kept);
}

// A start that ends before every saved folder has arrived must leave the saved
// list as it was, even when one of its folders no longer exists.
class SavedTabsWithAMissingFolder : public TabsTest {
protected:
    void PrepareConfig() override {
        saved = {folders[0], (data.Path() / L"gone").wstring(), folders[2]};
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", saved));
    }
    std::vector<std::wstring> saved;
};

TEST_F(SavedTabsWithAMissingFolder, AnEarlyEndKeepsTheSavedList) {
    ASSERT_TRUE(WaitForTabCount(3));
    quorlen.Kill();
    EXPECT_EQ(ReadConfigLines(install, L"tabs.txt"), saved);
}

}  // namespace
