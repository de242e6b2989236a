#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "driver/quorlen_driver.h"

namespace {

// The tab strip's query messages.
constexpr UINT kTabCount = 0x8050;
constexpr UINT kActiveTab = 0x8051;
constexpr UINT kSelectTab = 0x8052;
constexpr UINT kCloseTab = 0x8053;

LRESULT Query(HWND strip, UINT message, WPARAM wParam = 0) {
    LRESULT result = -1;
    EXPECT_TRUE(SendWithTimeout(strip, message, wParam, 0, result, 15000));
    return result;
}

HWND FindDescendant(HWND parent, const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (lstrcmpiW(name, wanted->className) != 0) return TRUE;
            wanted->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
    return text;
}

bool SamePaths(const std::vector<std::wstring>& actual, const std::vector<std::wstring>& expected) {
    if (actual.size() != expected.size()) return false;
    for (size_t i = 0; i < actual.size(); ++i) {
        if (lstrcmpiW(actual[i].c_str(), expected[i].c_str()) != 0) return false;
    }
    return true;
}

// Folders of the test's own, so that every tab shows a real, distinct folder.
class TabsTest : public StartedQuorlenTest {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"alpha", L"beta", L"资料"}) {
            folders.push_back((data.Path() / name).wstring());
            std::filesystem::create_directories(folders.back());
        }
        StartedQuorlenTest::SetUp();
        if (HasFatalFailure()) return;
        strip = GetDlgItem(window, 7);
        ASSERT_NE(strip, nullptr) << "no tab strip";
    }

    bool WaitForTabCount(LRESULT count) {
        return WaitUntil([&] { return Query(strip, kTabCount) == count; }, 20000);
    }

    bool WaitForSavedTabs(const std::vector<std::wstring>& expected) {
        return WaitUntil([&] { return SamePaths(ReadConfigLines(install, L"tabs.txt"), expected); }, 20000);
    }

    void CloseAndWait() {
        PostMessageW(window, WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    TempFolder data;
    std::vector<std::wstring> folders;
    HWND strip = nullptr;
};

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
// shell's own spelling once the folders have arrived, which tells the tests so.
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
    // Once every tab has arrived, the list is saved again in the same order.
    EXPECT_TRUE(WaitForSavedTabs(folders));
}

TEST_F(ThreeSavedTabs, SelectingAndClosingGoThroughTheQueryMessages) {
    ASSERT_TRUE(WaitForTabCount(3));
    ASSERT_TRUE(WaitForSavedTabs(folders));

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
    EXPECT_TRUE(SamePaths(ReadConfigLines(install, L"history.txt"), {folders[2]}));
    EXPECT_TRUE(WaitForSavedTabs({folders[0], folders[1]}));

    // Closing a tab left of the active one keeps the same tab active.
    EXPECT_EQ(Query(strip, kCloseTab, 0), 0);
    EXPECT_EQ(Query(strip, kTabCount), 1);
    EXPECT_EQ(Query(strip, kActiveTab), 0);
    EXPECT_TRUE(WaitForSavedTabs({folders[1]}));
    EXPECT_TRUE(SamePaths(ReadConfigLines(install, L"history.txt"), {folders[2], folders[0]}));
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
