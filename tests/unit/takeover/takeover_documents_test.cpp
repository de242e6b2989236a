#include "takeover/takeover_documents.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "takeover/takeover_keys.h"

namespace {

using Lines = std::vector<std::wstring>;

const Lines kHeader = {
    L"Quorlen 文件夹接管 - 接管前注册表配置备份",
    L"说明：以下为接管前 HKCU\\Software\\Classes 下相关键的原始状态，",
    L"供手动恢复或查阅。一键恢复请运行 QuorlenRestore.exe，",
    L"或参考 doc\\手动恢复系统资源管理器打开文件夹.txt。",
    L"",
};

BackupSnapshot AllAbsent() {
    BackupSnapshot snapshot;
    for (BackupRecord& record : snapshot.commands) record = AbsentRecord();
    for (BackupRecord& record : snapshot.verbs) record = AbsentRecord();
    return snapshot;
}

TEST(TakeoverReport, WithoutBackupSaysNothingIsTakenOverYet) {
    Lines expected = kHeader;
    expected.insert(expected.end(), {L"尚未接管：暂无接管前配置记录。",
                                     L"在设置中开启\"默认文件管理器接管\"后，本文件会记录各键的原始状态。", L""});
    EXPECT_EQ(TakeoverReportLines(std::nullopt), expected);
}

TEST(TakeoverReport, AfterAnApplyOnACleanProfileEveryKeyWasCreated) {
    Lines expected = kHeader;
    for (const TakeoverKey& row : TakeoverKeys) {
        expected.insert(expected.end(),
                        {L"[" + std::wstring(row.key) + L"]", L"  接管前存在：否（接管时新建）", L""});
    }
    for (const TitleVerbKey& verb : TitleVerbKeys) {
        expected.insert(expected.end(), {L"[" + std::wstring(verb.key) + L"]",
                                         L"  接管前不存在（接管时写入 MUIVerb = 新标签页打开）", L""});
    }
    expected.insert(expected.end(), {L"[Applications\\Quorlen.exe]",
                                      L"  接管时创建（写入 FriendlyAppName = Quorlen 显示名），恢复时删除整键", L""});
    EXPECT_EQ(TakeoverReportLines(AllAbsent()), expected);
}

TEST(TakeoverReport, ShowsRecordedValuesEmptyValuesAndMissingRecords) {
    BackupSnapshot snapshot = AllAbsent();
    snapshot.commands[0] = BackupRecord{true, true, {L"", REG_SZ}};
    snapshot.commands[2] = BackupRecord{true, true, {L"%SystemRoot%\\Explorer.exe", REG_EXPAND_SZ}};
    snapshot.commands[9] = BackupRecord{};
    snapshot.verbs[0] = BackupRecord{true, true, {L"Open here", REG_SZ}};
    snapshot.verbs[1] = BackupRecord{true, true, {L"", REG_SZ}};
    const Lines lines = TakeoverReportLines(snapshot);

    auto blockOf = [&lines](const std::wstring& key) {
        const auto at = std::find(lines.begin(), lines.end(), L"[" + key + L"]");
        const auto end = std::find(at, lines.end(), L"");
        return Lines(at + 1, end);
    };
    EXPECT_EQ(blockOf(TakeoverKeys[0].key), (Lines{L"  接管前存在：是", L"  接管前值：(空)"}));
    EXPECT_EQ(blockOf(TakeoverKeys[2].key), (Lines{L"  接管前存在：是", L"  接管前值：%SystemRoot%\\Explorer.exe"}));
    EXPECT_EQ(blockOf(TakeoverKeys[9].key), (Lines{L"  无备份记录"}));
    EXPECT_EQ(blockOf(TitleVerbKeys[0].key), (Lines{L"  接管前存在：是", L"  接管前值：Open here"}));
    EXPECT_EQ(blockOf(TitleVerbKeys[1].key), (Lines{L"  接管前不存在（接管时写入 MUIVerb = 新标签页打开）"}));
}

// The guide tells the user to delete the verb keys above our command keys and the
// whole application key; its lists must follow the key table.
TEST(RestoreGuide, ListsTheKeysAboveEveryTakeoverCommand) {
    const Lines guide = RestoreGuideLines();
    ASSERT_EQ(guide.size(), 67u);
    std::wstring batchList;
    for (size_t i = 0; i < TakeoverKeys.size(); ++i) {
        std::wstring key = TakeoverKeys[i].key;
        key.resize(key.rfind(L"\\command"));
        if (key.starts_with(kApplicationKey)) key = kApplicationKey;
        EXPECT_EQ(guide[21 + i], L"  " + key);
        EXPECT_EQ(guide[36 + i], L"reg delete \"HKCU\\Software\\Classes\\" + key + L"\" /f");
        batchList += (batchList.empty() ? L"(" : L" ") + key;
    }
    EXPECT_NE(guide[51].find(batchList + L") do reg delete"), std::wstring::npos);
}

}  // namespace
