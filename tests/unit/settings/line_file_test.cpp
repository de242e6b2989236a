#include "settings/line_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/temp_folder.h"
#include "ui/handles.h"

namespace {

using Lines = std::vector<std::wstring>;

// Little-endian bytes written out by hand, as they lie in a file.
std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

bool WriteRawFile(const std::wstring& path, const std::string& bytes) {
    UniqueKernelHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string ReadRawFile(const std::wstring& path) {
    UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return "<unreadable>";
    std::string bytes(4096, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return "<unreadable>";
    bytes.resize(read);
    return bytes;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(LineFileDecode, ReadsTheLinesOfSampleFiles) {
    struct Sample {
        const char* what;
        std::string bytes;
        Lines lines;
    };
    const Sample samples[] = {
        {"empty file", "", {}},
        {"only the byte-order mark", Bytes({0xFF, 0xFE}), {}},
        {"no byte-order mark, empty line between", Bytes({'A', 0, '\r', 0, '\n', 0, '\r', 0, '\n', 0, 'B', 0}),
         {L"A", L"B"}},
        {"byte-order mark and CR LF endings",
         Bytes({0xFF, 0xFE, 'A', 0, '\r', 0, '\n', 0, 'B', 0, '\r', 0, '\n', 0}), {L"A", L"B"}},
        {"last line without a line end", Bytes({0xFF, 0xFE, 'A', 0, '\r', 0, '\n', 0, 'B', 0, 'C', 0}),
         {L"A", L"BC"}},
        {"lone CR inside a line is dropped", Bytes({0xFF, 0xFE, 'A', 0, '\r', 0, 'B', 0, '\r', 0, '\n', 0}),
         {L"AB"}},
        {"LF alone ends a line", Bytes({'A', 0, '\n', 0, 'B', 0, '\n', 0}), {L"A", L"B"}},
        {"odd last byte is ignored", Bytes({0xFF, 0xFE, 'A', 0, 'B'}), {L"A"}},
        {"single byte", Bytes({'A'}), {}},
        {"lines are not trimmed", Bytes({' ', 0, 'A', 0, ' ', 0, '\r', 0, '\n', 0}), {L" A "}},
        // 文件 and a character outside the basic plane (U+1F4C1) as a surrogate pair.
        {"Chinese and surrogate pairs", Bytes({0xFF, 0xFE, 0x87, 0x65, 0xF6, 0x4E, 0x3D, 0xD8, 0xC1, 0xDC}),
         {L"\u6587\u4EF6\xD83D\xDCC1"}},
        // Only a leading mark is one; later it is an ordinary character.
        {"byte-order mark inside the text is kept", Bytes({'A', 0, 0xFF, 0xFE}), {L"A\xFEFF"}},
    };
    for (const Sample& sample : samples) {
        EXPECT_EQ(DecodeLines(sample.bytes), sample.lines) << sample.what;
    }
}

TEST(LineFileEncode, WritesMarkThenEveryLineWithCrLf) {
    EXPECT_EQ(EncodeLines({}), Bytes({0xFF, 0xFE}));
    EXPECT_EQ(EncodeLines({L"A", L"\u6587"}),
              Bytes({0xFF, 0xFE, 'A', 0, '\r', 0, '\n', 0, 0x87, 0x65, '\r', 0, '\n', 0}));

    const Lines lines = {L"C:\\Users\\张三\\文档", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L" x=y "};
    EXPECT_EQ(DecodeLines(EncodeLines(lines)), lines);
}

class LineFileOnDisk : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder.Path().empty()); }
    [[nodiscard]] std::wstring PathOf(const wchar_t* name) const { return (folder.Path() / name).wstring(); }
    TempFolder folder;
};

TEST_F(LineFileOnDisk, WritesAndReadsBackWithoutLeavingTheTemporaryFile) {
    const std::wstring path = PathOf(L"list.txt");
    const Lines lines = {L"D:\\照片", L"E:\\"};
    ASSERT_TRUE(WriteLines(path, lines));
    EXPECT_EQ(ReadRawFile(path), EncodeLines(lines));
    EXPECT_EQ(ReadLines(path), lines);
    EXPECT_FALSE(Exists(path + L".saving"));

    // Rewritten whole: a shorter list leaves nothing of the longer one behind.
    ASSERT_TRUE(WriteLines(path, {L"F:\\"}));
    EXPECT_EQ(ReadLines(path), Lines{L"F:\\"});

    ASSERT_TRUE(WriteLines(path, {}));
    EXPECT_EQ(ReadRawFile(path), Bytes({0xFF, 0xFE}));
    Lines read = {L"stale"};
    EXPECT_TRUE(TryReadLines(path, read));
    EXPECT_TRUE(read.empty());
}

TEST_F(LineFileOnDisk, MissingFileReadsAsNoLines) {
    Lines read = {L"stale"};
    EXPECT_TRUE(TryReadLines(PathOf(L"absent.txt"), read));
    EXPECT_TRUE(read.empty());
    EXPECT_TRUE(TryReadLines(PathOf(L"no-such-folder\\absent.txt"), read));
    EXPECT_TRUE(ReadLines(PathOf(L"absent.txt")).empty());
}

// Read from the end, in steps that cut lines anywhere: what comes back is
// whole lines, the last ones.
TEST_F(LineFileOnDisk, TheLastLinesOfAFileAreReadWholeFromItsEnd) {
    const std::wstring path = PathOf(L"long.txt");
    Lines lines;
    for (int i = 0; i < 20000; ++i) lines.push_back(L"C:\\文件夹\\" + std::to_wstring(i));
    ASSERT_TRUE(WriteLines(path, lines));
    Lines read;
    ASSERT_TRUE(TryReadLastLines(path, 3, read));
    EXPECT_EQ(read, (Lines{L"C:\\文件夹\\19997", L"C:\\文件夹\\19998", L"C:\\文件夹\\19999"}));
    ASSERT_TRUE(TryReadLastLines(path, 15000, read));
    ASSERT_EQ(read.size(), 15000u);
    EXPECT_EQ(read.front(), L"C:\\文件夹\\5000");
    ASSERT_TRUE(TryReadLastLines(path, 30000, read));
    EXPECT_EQ(read, lines) << "more than the file holds gives the whole file";
    ASSERT_TRUE(TryReadLastLines(path, 0, read));
    EXPECT_TRUE(read.empty());
    EXPECT_TRUE(TryReadLastLines(PathOf(L"absent.txt"), 3, read));
    EXPECT_TRUE(read.empty());
}

TEST_F(LineFileOnDisk, FileHeldOpenByAnotherIsUnreadableButReadLinesStillGivesNoLines) {
    const std::wstring path = PathOf(L"held.txt");
    ASSERT_TRUE(WriteLines(path, {L"A"}));
    UniqueKernelHandle holder(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);

    Lines read;
    EXPECT_FALSE(TryReadLines(path, read));
    EXPECT_FALSE(TryReadLastLines(path, 1, read));
    EXPECT_TRUE(ReadLines(path).empty());
}

TEST_F(LineFileOnDisk, FailedReplaceLeavesTheOldFileAndNoTemporaryFile) {
    const std::wstring path = PathOf(L"settings.txt");
    const std::string old = Bytes({0xFF, 0xFE, 'o', 0, 'l', 0, 'd', 0, '\r', 0, '\n', 0});
    ASSERT_TRUE(WriteRawFile(path, old));
    {
        // Held open without any sharing, the file cannot be replaced.
        UniqueKernelHandle holder(
            CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(WriteLines(path, {L"new", L"content"}));
    }
    EXPECT_EQ(ReadRawFile(path), old);
    EXPECT_FALSE(Exists(path + L".saving"));
}

// Another program reading the file just then (ifstream shares reading and
// writing, not deleting) must not make the save fail.
TEST_F(LineFileOnDisk, FileReadByAnotherForAMomentIsStillReplaced) {
    const std::wstring path = PathOf(L"settings.txt");
    ASSERT_TRUE(WriteLines(path, {L"ViewMode=1"}));
    UniqueKernelHandle reader(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader);
    std::thread closer([&reader] {
        Sleep(60);
        reader.reset();
    });
    const bool written = WriteLines(path, {L"ViewMode=4"});
    closer.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(ReadLines(path), Lines{L"ViewMode=4"});
    EXPECT_FALSE(Exists(path + L".saving"));
}

TEST_F(LineFileOnDisk, ReadOnlyFileIsLeftAsItIs) {
    const std::wstring path = PathOf(L"favorites.txt");
    const std::string old = Bytes({0xFF, 0xFE, 'o', 0, 'l', 0, 'd', 0, '\r', 0, '\n', 0});
    ASSERT_TRUE(WriteRawFile(path, old));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WriteLines(path, {L"new"}));
    EXPECT_EQ(ReadRawFile(path), old);
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(Exists(path + L".saving"));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
}

TEST_F(LineFileOnDisk, ReadOnlyLeftoverOfAnInterruptedSaveDoesNotBlockTheNextSave) {
    const std::wstring path = PathOf(L"tabs.txt");
    ASSERT_TRUE(WriteRawFile(path + L".saving", Bytes({0xFF, 0xFE, 'x', 0})));
    ASSERT_TRUE(SetFileAttributesW((path + L".saving").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(WriteLines(path, {L"C:\\"}));
    EXPECT_EQ(ReadLines(path), Lines{L"C:\\"});
    EXPECT_FALSE(Exists(path + L".saving"));
}

FILETIME LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ? data.ftLastWriteTime : FILETIME{};
}

// Saves repeat the same lines often (every tab switch saves the tab list): a
// file that already holds them is not replaced, but any difference is written.
TEST_F(LineFileOnDisk, FileThatAlreadyHoldsTheLinesIsLeftAlone) {
    const std::wstring path = PathOf(L"tabs.txt");
    ASSERT_TRUE(WriteLines(path, {L"C:\\", L"D:\\文档"}));
    // An hour earlier than it was written, in whole seconds, as every file system keeps them.
    const FILETIME writtenAt = LastWriteTime(path);
    ULARGE_INTEGER earlier{};
    earlier.LowPart = writtenAt.dwLowDateTime;
    earlier.HighPart = writtenAt.dwHighDateTime;
    earlier.QuadPart = (earlier.QuadPart / 10'000'000 - 3600) * 10'000'000;
    const FILETIME longAgo{earlier.LowPart, earlier.HighPart};
    {
        UniqueKernelHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file && SetFileTime(file.get(), nullptr, nullptr, &longAgo));
    }
    // A leftover of a save that was cut short goes all the same.
    ASSERT_TRUE(WriteRawFile(path + L".saving", Bytes({0xFF, 0xFE, 'C', 0})));
    ASSERT_TRUE(SetFileAttributesW((path + L".saving").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(WriteLines(path, {L"C:\\", L"D:\\文档"}));
    FILETIME written = LastWriteTime(path);
    EXPECT_EQ(CompareFileTime(&written, &longAgo), 0);
    EXPECT_FALSE(Exists(path + L".saving"));

    // Same length, one letter's case apart: still a different file.
    EXPECT_TRUE(WriteLines(path, {L"c:\\", L"D:\\文档"}));
    EXPECT_EQ(ReadLines(path), (Lines{L"c:\\", L"D:\\文档"}));
    written = LastWriteTime(path);
    EXPECT_NE(CompareFileTime(&written, &longAgo), 0);
}

TEST_F(LineFileOnDisk, FileThatCannotBeCreatedIsNotWritten) {
    EXPECT_FALSE(WriteLines(PathOf(L"no-such-folder\\list.txt"), {L"A"}));
    EXPECT_FALSE(Exists(PathOf(L"no-such-folder")));
}

}  // namespace
