#include "takeover/command_lines.h"

#include <gtest/gtest.h>

#include "takeover/uninstall.h"

namespace {

const std::wstring kExe = L"C:\\Tools\\Quorlen.exe";
const std::wstring kFolderTemplate = L"\"%1\"";
const std::wstring kBackgroundTemplate = L"/d \"%V\"";

TEST(CommandLines, DirectFormQuotesTheExecutableBeforeTheTemplate) {
    EXPECT_EQ(BuildDirectCommand(kExe, kFolderTemplate), L"\"C:\\Tools\\Quorlen.exe\" \"%1\"");
    EXPECT_EQ(BuildDirectCommand(kExe, kBackgroundTemplate), L"\"C:\\Tools\\Quorlen.exe\" /d \"%V\"");
}

TEST(CommandLines, AFallbackNamingTheExplorerBareIsStillRecognisedAsOurs) {
    const std::wstring older = L"cmd /c if exist \"D:\\Old\\Quorlen.exe\" (start \"\" \"D:\\Old\\Quorlen.exe\" \"%1\") "
                               L"else (start \"\" explorer.exe \"%1\")";
    EXPECT_TRUE(IsOwnCommand(older, kExe, kFolderTemplate));
    EXPECT_FALSE(IsOwnCommand(older + L" & other", kExe, kFolderTemplate));
}

TEST(CommandLines, TheLauncherIsRecognisedWhereverItLies) {
    const std::wstring launcher = L"C:\\Users\\u\\AppData\\Local\\Quorlen\\QuorlenLauncher.exe";
    EXPECT_TRUE(IsLauncherCommand(BuildDirectCommand(launcher, kBackgroundTemplate), kBackgroundTemplate));
    EXPECT_TRUE(IsLauncherCommand(BuildDirectCommand(L"D:\\P\\quorlenlauncher.EXE", kFolderTemplate), kFolderTemplate));
    EXPECT_FALSE(IsLauncherCommand(BuildDirectCommand(launcher, kFolderTemplate), kBackgroundTemplate));
    EXPECT_FALSE(IsLauncherCommand(BuildDirectCommand(launcher, kFolderTemplate) + L" & x", kFolderTemplate));
    EXPECT_FALSE(IsLauncherCommand(BuildDirectCommand(L"C:\\NotQuorlenLauncher.exe", kFolderTemplate), kFolderTemplate));
}

TEST(CommandLines, TheProgramOfACommandIsItsQuotedOrFirstWord) {
    EXPECT_EQ(ProgramOfCommand(L"\"C:\\Program Files\\FM\\fm.exe\" \"%1\""), L"C:\\Program Files\\FM\\fm.exe");
    EXPECT_EQ(ProgramOfCommand(L"  %SystemRoot%\\Explorer.exe /idlist,%I,%L"), L"%SystemRoot%\\Explorer.exe");
    EXPECT_EQ(ProgramOfCommand(L"fm.exe"), L"fm.exe");
    EXPECT_EQ(ProgramOfCommand(L""), L"");
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

TEST(UninstallEntry, TheCommandsRunTheLauncherAloneWithNoScriptHost) {
    const std::wstring launcher = L"C:\\Users\\u\\AppData\\Local\\Quorlen\\QuorlenLauncher.exe";
    EXPECT_EQ(UninstallCommandLine(launcher, false), L"\"" + launcher + L"\" /uninstall");
    EXPECT_EQ(UninstallCommandLine(launcher, true), L"\"" + launcher + L"\" /uninstall /silent");
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
