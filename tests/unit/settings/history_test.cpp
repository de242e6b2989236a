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

        const Lines loaded = OldestEntries(full, limit);
        ASSERT_EQ(loaded.size(), 100u);
        EXPECT_EQ(loaded.back(), L"C:\\99");
    }
}

TEST(HistoryList, LoadKeepsTheOldestAndPopTakesTheMostRecent) {
    EXPECT_EQ(OldestEntries({L"W", L"X", L"Y", L"Z"}, 2), (Lines{L"W", L"X"}));
    EXPECT_EQ(OldestEntries({L"W"}, 2), Lines{L"W"});

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
}

TEST_F(HistoryFileTest, PushOfAnEmptyPathWritesNothing) {
    PushHistory(L"", 100);
    EXPECT_FALSE(HistoryFileExists());
}

TEST_F(HistoryFileTest, PushAndPopWorkOnTheEntriesALowerLimitLoads) {
    const Lines written{L"W", L"X", L"Y", L"Z"};
    ASSERT_TRUE(WriteLines(HistoryFile(), written));
    EXPECT_EQ(LoadHistory(2), (Lines{L"W", L"X"}));
    EXPECT_EQ(PopHistory(2), L"X");
    EXPECT_EQ(StoredLines(), Lines{L"W"});

    ASSERT_TRUE(WriteLines(HistoryFile(), written));
    PushHistory(L"V", 2);
    EXPECT_EQ(StoredLines(), (Lines{L"X", L"V"}));
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

TEST_F(HistoryFileTest, AFileThatCannotBeReadWholeIsNeverOverwritten) {
    // Larger than a line file may be, so it reads only in part; a push or pop
    // that wrote back would replace the user's history with that part.
    {
        UniqueKernelHandle file(CreateFileW(HistoryFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        const char start[] = "\xFF\xFE" "W\0\r\0\n\0";
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), start, sizeof start - 1, &written, nullptr));
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(kLineFileReadLimit) + 2;
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    // A rewrite would hold the part that was read, give or take an entry, never this size.
    auto untouched = [this] {
        FlushSaves();
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(HistoryFile().c_str(), GetFileExInfoStandard, &data)) return false;
        const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        return size == kLineFileReadLimit + 2;
    };

    PushHistory(L"C:\\New", 100);
    EXPECT_TRUE(untouched());
    EXPECT_EQ(PopHistory(100), L"");
    EXPECT_TRUE(untouched());
}

}  // namespace
