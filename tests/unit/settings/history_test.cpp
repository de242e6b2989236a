#include "settings/history.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "config_folder_fixture.h"
#include "settings/line_file.h"
#include "settings/save_queue.h"
#include "ui/handles.h"

namespace {

using Lines = std::vector<std::wstring>;

TEST(HistoryList, PushRemovesEarlierEntriesForTheSameFolderAndKeepsTheOrder) {
    EXPECT_EQ(PushedHistory({L"C:\\Data\\"}, L"C:\\data", 100), Lines{L"C:\\data"});
    EXPECT_EQ(PushedHistory({L"A:\\x", L"C:\\DATA", L"B:\\y", L"c:\\data\\\\"}, L"C:\\data", 100),
              (Lines{L"A:\\x", L"B:\\y", L"C:\\data"}));
    EXPECT_EQ(PushedHistory({L"C:\\"}, L"C:\\", 100), Lines{L"C:\\"});
    // The drive root and the bare drive are different places.
    EXPECT_EQ(PushedHistory({L"C:"}, L"C:\\", 100), (Lines{L"C:", L"C:\\"}));
}

TEST(HistoryList, PushDropsTheOldestBeyondTheLimit) {
    EXPECT_EQ(PushedHistory({L"W", L"X", L"Y"}, L"Z", 3), (Lines{L"X", L"Y", L"Z"}));
    EXPECT_EQ(PushedHistory({L"W", L"X", L"Y", L"Z"}, L"V", 2), (Lines{L"Z", L"V"}));
    // A re-closed folder moves to the end without pushing anything out.
    EXPECT_EQ(PushedHistory({L"W", L"X", L"Y"}, L"w", 3), (Lines{L"X", L"Y", L"w"}));
    EXPECT_EQ(PushedHistory({L"W"}, L"", 3), Lines{L"W"});
}

TEST(HistoryList, LimitOfZeroOrBelowMeansOneHundred) {
    EXPECT_EQ(EffectiveHistoryLimit(0), 100);
    EXPECT_EQ(EffectiveHistoryLimit(-1), 100);
    EXPECT_EQ(EffectiveHistoryLimit(1), 1);

    Lines full;
    for (int i = 0; i < 150; ++i) full.push_back(L"C:\\" + std::to_wstring(i));
    for (int limit : {0, -1}) {
        const Lines pushed = PushedHistory(full, L"D:\\new", limit);
        ASSERT_EQ(pushed.size(), 100u);
        EXPECT_EQ(pushed.front(), L"C:\\51");
        EXPECT_EQ(pushed.back(), L"D:\\new");
    }
}

TEST(HistoryList, PopTakesTheMostRecent) {
    Lines entries{L"W", L"X"};
    EXPECT_EQ(TakeMostRecent(entries), L"X");
    EXPECT_EQ(entries, Lines{L"W"});
    EXPECT_EQ(TakeMostRecent(entries), L"W");
    EXPECT_EQ(TakeMostRecent(entries), L"");
    EXPECT_TRUE(entries.empty());
}

class HistoryFileTest : public ConfigFolderTest {
protected:
    [[nodiscard]] std::wstring HistoryFile() const { return ConfigFolder() + L"history.txt"; }
    // These look at the file once the pushes asked for so far are made.
    [[nodiscard]] bool HistoryFileExists() const {
        FlushSaves();
        return GetFileAttributesW(HistoryFile().c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    [[nodiscard]] Lines StoredLines() const {
        FlushSaves();
        return ReadLines(HistoryFile());
    }

    [[nodiscard]] std::string StoredBytes() const {
        FlushSaves();
        std::string bytes;
        UniqueKernelHandle file(CreateFileW(HistoryFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return bytes;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
        return bytes;
    }
};

TEST_F(HistoryFileTest, FirstPushCreatesTheFileInTheLineFormat) {
    PushHistory(L"C:\\Data\\", 100);
    PushHistory(L"C:\\data", 100);
    EXPECT_EQ(LoadHistory(100), Lines{L"C:\\data"}) << "a load sees the pushes before it";
    const std::string expected("\xFF\xFE" "C\0:\0\\\0d\0a\0t\0a\0\r\0\n\0", 2 + 9 * 2);
    EXPECT_EQ(StoredBytes(), expected);

    // Several closed at once go in their order, empty paths left out.
    PushHistory(Lines{L"C:\\A", L"", L"C:\\DATA"}, 100);
    EXPECT_EQ(LoadHistory(100), (Lines{L"C:\\A", L"C:\\DATA"}));
}

TEST_F(HistoryFileTest, PushOfAnEmptyPathWritesNothing) {
    PushHistory(L"", 100);
    EXPECT_FALSE(HistoryFileExists());
}

// A lower limit keeps the newest entries, so the reopen still brings back the
// folder closed last.
TEST_F(HistoryFileTest, PushAndPopWorkOnTheNewestEntriesALowerLimitKeeps) {
    const Lines written{L"W", L"X", L"Y", L"Z"};
    ASSERT_TRUE(WriteLines(HistoryFile(), written));
    EXPECT_EQ(LoadHistory(2), (Lines{L"Y", L"Z"}));
    EXPECT_EQ(PopHistory(2), L"Z");
    EXPECT_EQ(StoredLines(), Lines{L"Y"});

    ASSERT_TRUE(WriteLines(HistoryFile(), written));
    PushHistory(L"V", 2);
    EXPECT_EQ(StoredLines(), (Lines{L"Z", L"V"}));
}

TEST_F(HistoryFileTest, PopReturnsEntriesMostRecentFirstAndLeavesAnEmptyFile) {
    PushHistory(L"C:\\A", 0);
    PushHistory(L"C:\\B", -1);
    EXPECT_EQ(PopHistory(0), L"C:\\B");
    EXPECT_EQ(PopHistory(0), L"C:\\A");
    EXPECT_EQ(StoredBytes(), std::string("\xFF\xFE"));
    EXPECT_EQ(PopHistory(0), L"");
}

TEST_F(HistoryFileTest, PopOfAnEmptyHistoryCreatesNoFile) {
    EXPECT_EQ(PopHistory(100), L"");
    EXPECT_FALSE(HistoryFileExists());

    // A file of no bytes at all stays as it is.
    UniqueKernelHandle empty(CreateFileW(HistoryFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(empty);
    empty.reset();
    EXPECT_EQ(PopHistory(100), L"");
    EXPECT_EQ(StoredBytes(), "");
}

// A file far larger than the limit keeps (made by hand or another program)
// costs only its end to read, and the history goes on from its newest entries.
TEST_F(HistoryFileTest, AnOversizedFileGivesItsNewestEntriesAndTheHistoryGoesOn) {
    {
        UniqueKernelHandle file(CreateFileW(HistoryFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        const std::string start = EncodeLines({L"C:\\Oldest"});
        ASSERT_TRUE(WriteFile(file.get(), start.data(), static_cast<DWORD>(start.size()), &written, nullptr));
        // Past the read limit; what lies between reads as units of nothing.
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(kLineFileReadLimit) + 2;
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
        const std::string newest = EncodeLines({L"", L"C:\\Older", L"C:\\Newer"}).substr(2);
        ASSERT_TRUE(WriteFile(file.get(), newest.data(), static_cast<DWORD>(newest.size()), &written, nullptr));
    }
    EXPECT_EQ(LoadHistory(100), (Lines{L"C:\\Older", L"C:\\Newer"}));
    PushHistory(L"C:\\New", 100);
    EXPECT_EQ(StoredLines(), (Lines{L"C:\\Older", L"C:\\Newer", L"C:\\New"}));
    EXPECT_EQ(PopHistory(100), L"C:\\New");
}

}  // namespace
