#include <windows.h>

#include "driver/quorlen_driver.h"

namespace {

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Closes the window and waits for the process to end cleanly.
void CloseAndWait(HWND window, const QuorlenProcess& quorlen) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode));
    ASSERT_EQ(exitCode, 0u);
}

const std::vector<std::wstring> kSettingsWithRect = {
    L"NavVisible=1",        L"DetailsVisible=0",  L"PreviewVisible=0", L"ShowHiddenFiles=0",
    L"ShowFileExt=1",       L"ViewMode=-1",       L"ViewIconSize=32",  L"Takeover=0",
    L"FavBarVisible=1",     L"WindowX=100",       L"WindowY=120",      L"WindowWidth=1000",
    L"WindowHeight=700",    L"SearchBoxVisible=1", L"NewTabPath=C:\\a=b", L"line without equals",
    L"BackupDir=",          L"ActiveTab=0",       L"HistoryLimit=100",
};

class SavedRectTest : public StartedQuorlenTest {
protected:
    void PrepareConfig() override { ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", kSettingsWithRect)); }
};

TEST_F(SavedRectTest, OpensAtTheSavedRectangle) {
    const RECT rect = WindowRect(window);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 120);
    EXPECT_EQ(rect.right - rect.left, 1000);
    EXPECT_EQ(rect.bottom - rect.top, 700);
}

// The value of key in settings.txt lines, or "<missing>".
std::wstring SettingValue(const std::vector<std::wstring>& lines, const std::wstring& key) {
    const std::wstring prefix = key + L"=";
    for (const std::wstring& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size());
    }
    return L"<missing>";
}

// The four window lines of settings.txt, as numbers written out.
std::vector<std::wstring> WindowLines(const std::vector<std::wstring>& lines) {
    return {SettingValue(lines, L"WindowX"), SettingValue(lines, L"WindowY"), SettingValue(lines, L"WindowWidth"),
            SettingValue(lines, L"WindowHeight")};
}

TEST_F(SavedRectTest, ClosingSavesTheNewRectangleAndKeepsEverySetting) {
    SetWindowPos(window, nullptr, 200, 150, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    CloseAndWait(window, quorlen);

    const std::vector<std::wstring> lines = ReadConfigLines(install, L"settings.txt");
    EXPECT_EQ(WindowLines(lines), (std::vector<std::wstring>{L"200", L"150", L"900", L"600"}));
    EXPECT_EQ(SettingValue(lines, L"NewTabPath"), L"C:\\a=b");
    EXPECT_EQ(SettingValue(lines, L"FavBarVisible"), L"1");
    EXPECT_EQ(SettingValue(lines, L"HistoryLimit"), L"100");
}

TEST_F(SavedRectTest, MaximisedWindowSavesTheRectangleItRestoresTo) {
    ShowWindow(window, SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(window) != FALSE; }, 5000));
    CloseAndWait(window, quorlen);

    const std::vector<std::wstring> lines = ReadConfigLines(install, L"settings.txt");
    EXPECT_EQ(WindowLines(lines), (std::vector<std::wstring>{L"100", L"120", L"1000", L"700"}));
}

class NoSettingsTest : public StartedQuorlenTest {};

TEST_F(NoSettingsTest, ClosingWritesTheWindowRectangleIntoANewSettingsFile) {
    SetWindowPos(window, nullptr, 40, 30, 800, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    CloseAndWait(window, quorlen);
    const std::vector<std::wstring> lines = ReadConfigLines(install, L"settings.txt");
    EXPECT_EQ(WindowLines(lines), (std::vector<std::wstring>{L"40", L"30", L"800", L"500"}));
}

class UnusableRectTest : public StartedQuorlenTest, public testing::WithParamInterface<std::vector<std::wstring>> {
protected:
    void PrepareConfig() override { ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", GetParam())); }
};

TEST_P(UnusableRectTest, IsIgnoredForTheDefaultSize) {
    const RECT rect = WindowRect(window);
    EXPECT_EQ(rect.right - rect.left, 1280);
    EXPECT_EQ(rect.bottom - rect.top, 800);
    EXPECT_LT(rect.left, 1920);
    EXPECT_LT(rect.top, 1080);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFile, UnusableRectTest,
    testing::Values(
        // Its centre lies on no monitor.
        std::vector<std::wstring>{L"WindowX=20000", L"WindowY=20000", L"WindowWidth=1000", L"WindowHeight=700"},
        // Too small to be worth restoring.
        std::vector<std::wstring>{L"WindowX=100", L"WindowY=100", L"WindowWidth=319", L"WindowHeight=700"},
        std::vector<std::wstring>{L"WindowX=100", L"WindowY=100", L"WindowWidth=1000", L"WindowHeight=239"},
        // Values far outside any screen.
        std::vector<std::wstring>{L"WindowX=2147483647", L"WindowY=-99999999999", L"WindowWidth=99999999999",
                                  L"WindowHeight=99999999999"}));

}  // namespace
