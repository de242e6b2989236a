#include "takeover/command_lines.h"

#include <gtest/gtest.h>

#include "takeover/takeover_keys.h"
#include "takeover/uninstall.h"
#include "ui/paths.h"

namespace {

const std::wstring kExe = L"C:\\Tools\\Quorlen.exe";
const std::wstring kFolderTemplate = L"\"%1\"";
const std::wstring kBackgroundTemplate = L"/d \"%V\"";

TEST(CommandLines, DirectFormQuotesTheExecutableBeforeTheTemplate) {
    EXPECT_EQ(BuildDirectCommand(kExe, kFolderTemplate), L"\"C:\\Tools\\Quorlen.exe\" \"%1\"");
    EXPECT_EQ(BuildDirectCommand(kExe, kBackgroundTemplate), L"\"C:\\Tools\\Quorlen.exe\" /d \"%V\"");
}

TEST(CommandLines, FallbackFormStartsTheProgramOrTheSystemExplorerWithTheMatchingArgument) {
    // By its full path, so that no explorer.exe in the folder being browsed runs instead.
    const std::wstring explorer = L"\"" + SystemFolderFile(L"explorer.exe", true) + L"\"";
    ASSERT_NE(explorer, L"\"explorer.exe\"");
    EXPECT_EQ(BuildFallbackCommand(kExe, kFolderTemplate),
              L"cmd /c if exist \"C:\\Tools\\Quorlen.exe\" (start \"\" \"C:\\Tools\\Quorlen.exe\" \"%1\") else "
              L"(start \"\" " + explorer + L" \"%1\")");
    EXPECT_EQ(BuildFallbackCommand(kExe, kBackgroundTemplate),
              L"cmd /c if exist \"C:\\Tools\\Quorlen.exe\" (start \"\" \"C:\\Tools\\Quorlen.exe\" /d \"%V\") else "
              L"(start \"\" " + explorer + L" \"%V\")");
}

TEST(CommandLines, AFallbackNamingTheExplorerBareIsStillRecognisedAsOurs) {
    const std::wstring older = L"cmd /c if exist \"D:\\Old\\Quorlen.exe\" (start \"\" \"D:\\Old\\Quorlen.exe\" \"%1\") "
                               L"else (start \"\" explorer.exe \"%1\")";
    EXPECT_TRUE(IsOwnCommand(older, kExe, kFolderTemplate));
    EXPECT_FALSE(IsOwnCommand(older + L" & other", kExe, kFolderTemplate));
}

TEST(CommandLines, UninstallCommandDeletesTheCommandKeysTheBackupAndTheEntryInOrder) {
    const std::wstring line = BuildUninstallCommandLine();
    const std::wstring start =
        L"\"C:\\Windows\\System32\\WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile -WindowStyle Hidden "
        L"-Command \"reg delete HKCU\\Software\\Classes\\Directory\\shell\\open\\command /f;reg delete ";
    EXPECT_EQ(line.substr(0, start.size()), start);
    const std::wstring end =
        L"reg delete HKCU\\Software\\Classes\\Applications\\Quorlen.exe\\shell\\open\\command /f;"
        L"reg delete HKCU\\Software\\Quorlen\\Backup /f;"
        L"reg delete HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorlen /f\"";
    ASSERT_GE(line.size(), end.size());
    EXPECT_EQ(line.substr(line.size() - end.size()), end);

    size_t previous = 0;
    for (const TakeoverKey& row : TakeoverKeys) {
        const size_t at = line.find(L"reg delete HKCU\\Software\\Classes\\" + std::wstring(row.key) + L" /f;");
        ASSERT_NE(at, std::wstring::npos) << row.backupName;
        EXPECT_GE(at, previous) << row.backupName;
        previous = at;
    }
}

TEST(CommandLines, ContainsExecutableIgnoresTheCaseOfAsciiLettersOnly) {
    EXPECT_TRUE(ContainsExecutable(L"\"C:\\TOOLS\\QUORLEN.EXE\" \"%1\"", kExe));
    EXPECT_TRUE(ContainsExecutable(BuildFallbackCommand(L"c:\\tools\\quorlen.exe", kFolderTemplate), kExe));
    EXPECT_FALSE(ContainsExecutable(L"\"C:\\Tools\\Other.exe\" \"%1\"", kExe));
    EXPECT_FALSE(ContainsExecutable(L"anything", L""));
    // Only ASCII letters are folded: Ä and ä stay different.
    EXPECT_FALSE(ContainsExecutable(L"\"C:\\ÄRGER\\Q.exe\"", L"C:\\ärger\\q.exe"));
    EXPECT_TRUE(ContainsExecutable(L"\"C:\\ärger\\Q.EXE\"", L"C:\\ärger\\q.exe"));
}

TEST(CommandLines, IndirectCommandsStartWithCmdOrMentionPowerShell) {
    EXPECT_TRUE(IsIndirectCommand(BuildFallbackCommand(kExe, kFolderTemplate)));
    EXPECT_TRUE(IsIndirectCommand(L"CMD /C start x"));
    EXPECT_TRUE(IsIndirectCommand(L"\"C:\\x\\PowerShell.EXE\" -Command y"));
    EXPECT_FALSE(IsIndirectCommand(BuildDirectCommand(kExe, kFolderTemplate)));
    // cmd /c later than at the start still counts as direct.
    EXPECT_FALSE(IsIndirectCommand(L"\"C:\\a.exe\" cmd /c x"));
    EXPECT_FALSE(IsIndirectCommand(L"cmd  /c x"));
}

TEST(CommandLines, OwnCommandsAreRecognisedAlsoAfterTheProgramMoved) {
    // Both forms of the running executable.
    EXPECT_TRUE(IsOwnCommand(BuildDirectCommand(kExe, kFolderTemplate), kExe, kFolderTemplate));
    EXPECT_TRUE(IsOwnCommand(BuildFallbackCommand(kExe, kBackgroundTemplate), kExe, kBackgroundTemplate));
    // Written by a copy elsewhere: the fallback form of any path, the direct form
    // of a program with our file name.
    EXPECT_TRUE(IsOwnCommand(BuildFallbackCommand(L"D:\\Old\\Renamed.exe", kFolderTemplate), kExe,
                             kFolderTemplate));
    EXPECT_TRUE(IsOwnCommand(BuildDirectCommand(L"D:\\Old\\quorlen.EXE", kFolderTemplate), kExe, kFolderTemplate));

    EXPECT_FALSE(IsOwnCommand(BuildDirectCommand(L"D:\\Other\\fm.exe", kFolderTemplate), kExe, kFolderTemplate));
    EXPECT_FALSE(IsOwnCommand(L"%SystemRoot%\\Explorer.exe /idlist,%I,%L", kExe, kFolderTemplate));
    EXPECT_FALSE(IsOwnCommand(L"", kExe, kFolderTemplate));
    EXPECT_FALSE(IsOwnCommand(L"cmd /c if exist \"D:\\x.exe\" (start \"\" \"D:\\x.exe\" \"%1\") & del y", kExe,
                              kFolderTemplate));
    EXPECT_FALSE(IsOwnCommand(BuildDirectCommand(L"D:\\Old\\Quorlen.exe", L"\"%1\" --extra"), kExe,
                              kFolderTemplate));
}

TEST(UninstallEntry, InstallLocationIsTheFolderOfTheExecutable) {
    EXPECT_EQ(InstallLocationOf(kExe), L"C:\\Tools");
    EXPECT_EQ(InstallLocationOf(L"Quorlen.exe"), L"Quorlen.exe");
}

TEST(UninstallEntry, EstimatedSizeRoundsDownToWholeKiB) {
    EXPECT_EQ(EstimatedSizeKiB(1048575), 1023u);
    EXPECT_EQ(EstimatedSizeKiB(1048576), 1024u);
    EXPECT_EQ(EstimatedSizeKiB(0), 0u);
}

}  // namespace
