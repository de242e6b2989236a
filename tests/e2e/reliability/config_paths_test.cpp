#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "common/reliability_tally.h"
#include "common/temp_folder.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "ui/paths.h"

// Paths of every kind in the config files the program starts from: folders that
// do not exist, are too long for old interfaces, sit on a server that is not
// there, name no shell folder, are files, hold characters the command
// interpreter or the shell treat specially, or are no paths at all. The program
// must start, keep answering, and lose nothing that was good.

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::wstring>;

// Long enough that a server that does not exist cannot stall a check, short
// enough that a hang shows.
constexpr UINT kAnswerMs = 10000;

// Makes every folder of a path, also beyond the 260 characters of the old interfaces.
bool CreateLongFolder(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); ; at = path.find(L'\\', at + 1)) {
        const std::wstring part = L"\\\\?\\" + path.substr(0, at);
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
        if (at == std::wstring::npos) return true;
    }
}

class ReliabilityConfigPathsTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        ASSERT_TRUE(install.Ready());
    }

    // Starts the program, checks that it keeps answering through its start-up,
    // closes it (saying yes to closing many tabs) and waits for a clean end.
    void StartAnswerAndClose(long long& failures) {
        QuorlenProcess quorlen;
        ASSERT_TRUE(quorlen.Start(install));
        const HWND window = quorlen.WaitForMainWindow(60000);
        ASSERT_NE(window, nullptr) << "no main window appeared";
        const HWND strip = GetDlgItem(window, 7);
        ASSERT_NE(strip, nullptr);
        // The start-up restore ends five seconds after the window is made.
        const DWORD until = GetTickCount() + 7000;
        do {
            LRESULT ignored = 0;
            const bool answered = SendWithTimeout(window, WM_NULL, 0, 0, ignored, kAnswerMs);
            EXPECT_TRUE(answered) << "the window stopped answering";
            if (!answered) {
                ++failures;
                return;
            }
            Sleep(250);
        } while (static_cast<LONG>(until - GetTickCount()) > 0);
        EXPECT_GE(Query(strip, kTabCount), 1) << "no tab at all";
        tabCount = Query(strip, kTabCount);

        PostMessageW(window, WM_CLOSE, 0, 0);
        HWND box = nullptr;
        if (WaitUntil([&] { return (box = FindMessageBox(quorlen.Id())) != nullptr || !quorlen.Running(); }, 10000) &&
            box != nullptr) {
            PostMessageW(box, WM_COMMAND, IDYES, 0);
        }
        DWORD exitCode = 1;
        EXPECT_TRUE(quorlen.WaitForExit(20000, exitCode) && exitCode == 0) << "the program did not end cleanly";
        if (quorlen.Running() || exitCode != 0) ++failures;
    }

    QuorlenInstall install;
    TempFolder data;
    LRESULT tabCount = 0;
};

TEST_F(ReliabilityConfigPathsTest, UnusablePathsInEveryFileNeitherStopTheStartNorCostTheGoodOnes) {
    const fs::path root = data.Path();
    // Folders that exist.
    Lines good;
    for (const wchar_t* name : {L"alpha", L"文件夹 😀 a&b %PATH% ^c !d! (e)", L"50% & 100%"}) {
        good.push_back((root / name).wstring());
        fs::create_directories(good.back());
    }
    std::wstring deep = root.wstring();
    while (deep.size() < 300) deep += L"\\a-rather-long-folder-name";
    ASSERT_TRUE(CreateLongFolder(deep));
    const std::wstring file = (root / L"plain file.txt").wstring();
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));

    const Lines unusable = {
        (root / L"does not exist").wstring(),
        deep,
        L"\\\\?\\" + good[0],
        L"\\\\nonexistent-server-xyz\\share",
        L"\\\\nonexistent-server-xyz\\share\\folder",
        L"::{bogus}",
        L"::{00000000-0000-0000-0000-000000000000}",
        file,
        L"Z:\\no drive here",
        L"C:",
        L"relative\\folder",
        L"\\",
        L"\xD800 lone surrogate",
        std::wstring(5000, L'x'),
        L"\"C:\\quoted\"",
        L"C:\\a\\..\\..\\..\\..",
    };
    Lines mixed = good;
    mixed.insert(mixed.end(), unusable.begin(), unusable.end());
    std::shuffle(mixed.begin() + 1, mixed.end(), std::mt19937(ReliabilitySeed()));

    const Lines favourites(mixed.begin(), mixed.begin() + std::min<size_t>(mixed.size(), 32));
    ASSERT_TRUE(WriteConfigLines(install, L"settings.txt",
                                 {L"ActiveTab=999", L"NewTabPath=\\\\nonexistent-server-xyz\\share", L"FavBarVisible=1"}));
    ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", mixed));
    ASSERT_TRUE(WriteConfigLines(install, L"favorites.txt", favourites));
    ASSERT_TRUE(WriteConfigLines(install, L"history.txt", mixed));
    // A history for every tab, made of the same paths: some blocks whose current
    // entry is their tab, some pointing elsewhere or past their end, some with
    // no number, and one of thousands of entries.
    Lines histories;
    std::mt19937 random(ReliabilitySeed() + 7);
    for (size_t tab = 0; tab < mixed.size(); ++tab) {
        const size_t length = tab == 1 ? 5000 : random() % 4 + 1;
        const size_t current = random() % (length + 1);
        histories.push_back(random() % 5 == 0 ? L">?" : L">" + std::to_wstring(current));
        for (size_t entry = 0; entry < length; ++entry) {
            histories.push_back(entry == current ? mixed[tab] : mixed[random() % mixed.size()]);
        }
    }
    ASSERT_TRUE(WriteConfigLines(install, L"tabhistory.txt", histories));

    long long failures = 0;
    StartAnswerAndClose(failures);
    if (HasFatalFailure()) return;

    EXPECT_LE(tabCount, static_cast<LRESULT>(mixed.size()));
    EXPECT_EQ(ReadConfigLines(install, L"favorites.txt"), favourites) << "favourites were lost or changed";
    EXPECT_EQ(ReadConfigLines(install, L"history.txt"), mixed) << "the history changed though no tab was closed";
    const Lines tabs = ReadConfigLines(install, L"tabs.txt");
    for (const std::wstring& folder : good) {
        const bool kept = std::any_of(tabs.begin(), tabs.end(), [&](const std::wstring& tab) { return SamePath(tab, folder); });
        EXPECT_TRUE(kept) << "the tab of a good folder was lost: " << NarrowForTest(folder);
        failures += kept ? 0 : 1;
    }
    RecordReliability({"config-file paths", static_cast<long long>(mixed.size() * 4), 0, "one start", failures});
}

TEST_F(ReliabilityConfigPathsTest, GarbageConfigFilesNeitherStopTheStartNorAreRewrittenUnasked) {
    std::mt19937 random(ReliabilitySeed() + 30);
    long long failures = 0;
    const long long rounds = Scaled(1);
    for (long long round = 0; round < rounds; ++round) {
        // Random bytes in every file, one of them with a BOM, one without, of odd length.
        for (const wchar_t* name : {L"settings.txt", L"tabs.txt", L"favorites.txt", L"history.txt", L"tabhistory.txt"}) {
            std::string bytes(static_cast<size_t>(random() % 3000 + 1), '\0');
            for (char& byte : bytes) byte = static_cast<char>(random() % 256);
            if (random() % 2 == 0) bytes.insert(0, "\xFF\xFE", 2);
            const fs::path path = install.ConfigFile(name);
            fs::create_directories(path.parent_path());
            HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(handle, INVALID_HANDLE_VALUE);
            DWORD written = 0;
            WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            CloseHandle(handle);
        }
        const Lines favourites = ReadConfigLines(install, L"favorites.txt");
        const Lines history = ReadConfigLines(install, L"history.txt");
        StartAnswerAndClose(failures);
        if (HasFatalFailure()) return;
        EXPECT_EQ(ReadConfigLines(install, L"favorites.txt"), favourites) << "garbage favourites were rewritten";
        EXPECT_EQ(ReadConfigLines(install, L"history.txt"), history) << "a garbage history was rewritten";
    }
    RecordReliability({"config-file paths", rounds * 5, 0, "random files", failures});
}

}  // namespace
