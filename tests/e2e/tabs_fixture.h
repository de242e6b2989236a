#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"

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

    bool WaitForHistory(const std::vector<std::wstring>& expected) {
        return WaitUntil([&] { return SamePaths(ReadConfigLines(install, L"history.txt"), expected); }, 20000);
    }

    // Closes the window of several tabs, saying Yes to its question, and waits
    // for the program to end.
    [[nodiscard]] testing::AssertionResult CloseAnsweringYes() {
        PostMessageW(window, WM_CLOSE, 0, 0);
        HWND question = nullptr;
        if (!WaitUntil([&] { return (question = FindMessageBox(quorlen.Id())) != nullptr; }, 20000)) {
            return testing::AssertionFailure() << "closing the tabs asked nothing";
        }
        PostMessageW(question, WM_COMMAND, IDYES, 0);
        DWORD exitCode = 1;
        if (!quorlen.WaitForExit(15000, exitCode)) return testing::AssertionFailure() << "the program did not end";
        return testing::AssertionSuccess();
    }

    static void Place(HWND target, int x, int y) {
        SetWindowPos(target, nullptr, x, y, 900, 600, SWP_NOZORDER);
        SetForegroundWindow(target);
    }

    // The window a tear-off or a new-window request opened.
    HWND WaitForSecondWindow() const {
        HWND second = nullptr;
        EXPECT_TRUE(WaitUntil(
            [&] {
                for (HWND found : quorlen.MainWindows()) {
                    if (found != window) second = found;
                }
                return second != nullptr;
            },
            20000))
            << "no second window appeared";
        return second;
    }

    TempFolder data;
    std::vector<std::wstring> folders;
    HWND strip = nullptr;
};

// The three folders saved as tabs and restored, in a window placed where the
// tests know it to be.
class SavedTabsTest : public TabsTest {
protected:
    void PrepareConfig() override { ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", folders)); }

    void SetUp() override {
        TabsTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(WaitForTabCount(3));
        // Until the active tab has arrived the window is still busy, and input
        // then can come too late for the place it was aimed at.
        ASSERT_TRUE(WaitUntil([&] { return NavigatedPanelCount(window) == 1; }, 20000)) << "the restore never ended";
        Place(window, 0, 0);
    }

    // Brings the window to the front until it holds the keyboard, which keys typed need.
    [[nodiscard]] bool TakeKeyboard() const {
        return WaitUntil(
            [&] {
                SetForegroundWindow(window);
                return GetForegroundWindow() == window && FocusOf(window) != nullptr;
            },
            kInputStepMs);
    }
};
