#include "takeover/takeover_documents.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "takeover/takeover_keys.h"

namespace {

using Lines = std::vector<std::wstring>;

const std::wstring kLauncher = L"C:\\Users\\u\\AppData\\Local\\Quorlen\\QuorlenLauncher.exe";

bool Has(const Lines& lines, const std::wstring& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); }

size_t IndexOf(const Lines& lines, const std::wstring& line) {
    return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

TEST(TakeoverReport, ShowsEachKeysEarlierStateAsRecorded) {
    // Everything created by the takeover ...
    TakeoverRecord record{L"C:\\Tools\\Quorlen.exe", kLauncher, RecordPhase::Applied, {}, false};
    record.states.assign(TouchedKeys().size(), KeyState{0, {}});
    // ... but the first command, which another file manager held, and one
    // record that could not be read.
    record.states[0] = KeyState{4,
                                {TextValue(L"", L"\"C:\\FM\\fm.exe\" \"%1\"", REG_SZ), TextValue(L"DelegateExecute", L"", REG_SZ)}};
    record.states[1] = std::nullopt;
    record.states[2] = KeyState{4, {{L"", false, REG_NONE, {}}, {L"DelegateExecute", true, REG_BINARY, {1, 2, 3}}}};

    const Lines report = TakeoverReportLines(record);
    EXPECT_TRUE(Has(report, L"接管程序：C:\\Tools\\Quorlen.exe"));
    EXPECT_TRUE(Has(report, L"启动器：" + kLauncher));
    const size_t first = IndexOf(report, L"[" + TouchedKeys()[0].key + L"]");
    ASSERT_LT(first + 3, report.size());
    EXPECT_EQ(report[first + 1], L"  接管前存在：");
    EXPECT_EQ(report[first + 2], L"  默认值：\"C:\\FM\\fm.exe\" \"%1\"");
    EXPECT_EQ(report[first + 3], L"  DelegateExecute：(空)");
    const size_t second = IndexOf(report, L"[" + TouchedKeys()[1].key + L"]");
    EXPECT_EQ(report[second + 1], L"  无记录（取消接管时删除 Quorlen 写入的值）");
    const size_t third = IndexOf(report, L"[" + TouchedKeys()[2].key + L"]");
    EXPECT_EQ(report[third + 2], L"  默认值：(不存在)");
    EXPECT_EQ(report[third + 3], L"  DelegateExecute：(非文本值，3 字节)");
    const size_t last = IndexOf(report, L"[" + TouchedKeys().back().key + L"]");
    ASSERT_LT(last + 1, report.size());
    EXPECT_EQ(report[last + 1], L"  接管前不存在（接管时新建，取消接管时删除）");
}

// The guide is read when Quorlen may be gone: it names the launcher, which
// stays, every key the takeover writes, and nothing that does not exist.
TEST(RestoreGuide, NamesOnlyWhatExists) {
    const Lines guide = RestoreGuideLines(kLauncher);
    EXPECT_TRUE(Has(guide, L"  " + kLauncher));
    EXPECT_TRUE(Has(guide, L"  \"" + kLauncher + L"\" /restore"));
    for (const TakeoverKey& row : TakeoverKeys) EXPECT_TRUE(Has(guide, L"  " + std::wstring(row.key))) << row.key;
    for (const std::wstring& line : guide) {
        EXPECT_EQ(line.find(L"QuorlenRestore"), std::wstring::npos) << line;
        EXPECT_EQ(line.find(L"cmd"), std::wstring::npos) << line;
        EXPECT_EQ(line.find(L"opennewwindow"), std::wstring::npos) << line;
    }
}

}  // namespace
