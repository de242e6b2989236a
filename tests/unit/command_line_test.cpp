#include "app/command_line.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "common/private_prefix.h"
#include "ui/handles.h"

namespace {

CommandLineRequest Parse(std::vector<std::wstring> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLine, PlainArgumentsNameThePathAndTheLastOneWins) {
    EXPECT_EQ(Parse({}), CommandLineRequest{});
    EXPECT_EQ(Parse({L"C:\\Users"}).path, L"C:\\Users");
    EXPECT_EQ(Parse({L"C:\\a", L"C:\\b"}).path, L"C:\\b");
    EXPECT_EQ(Parse({L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"}).path,
              L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
}

// The arguments a program gets for a command line, split as Windows splits them.
std::vector<std::wstring> Split(const wchar_t* commandLine) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine, &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; i < count; ++i) arguments.emplace_back(argv[i]);
    LocalFree(argv);
    return arguments;
}

TEST(CommandLine, AQuotedDriveRootKeepsItsBackslash) {
    // What the shell starts for a drive with the open command "exe" "%1".
    EXPECT_EQ(Parse(Split(L"Quorlen.exe \"C:\\\"")).path, L"C:\\");
    EXPECT_EQ(Parse(Split(L"Quorlen.exe /d \"D:\\\"")).path, L"D:\\");
    EXPECT_EQ(Parse(Split(L"Quorlen.exe /select \"E:\\\"")).path, L"E:\\");
    EXPECT_EQ(Parse(Split(L"Quorlen.exe \"C:\\Users\\\"")).path, L"C:\\Users\\");
    EXPECT_EQ(Parse(Split(L"Quorlen.exe \"C:\\Program Files\"")).path, L"C:\\Program Files");
}

TEST(CommandLine, SelectTakesThePathAfterTheCommaOrTheNextArgument) {
    CommandLineRequest joined = Parse({L"/select,C:\\dir\\file.txt"});
    EXPECT_TRUE(joined.select);
    EXPECT_EQ(joined.path, L"C:\\dir\\file.txt");

    CommandLineRequest separate = Parse({L"/select", L"C:\\dir\\file.txt"});
    EXPECT_TRUE(separate.select);
    EXPECT_EQ(separate.path, L"C:\\dir\\file.txt");

    CommandLineRequest upperDash = Parse({L"-SELECT,C:\\x"});
    EXPECT_TRUE(upperDash.select);
    EXPECT_EQ(upperDash.path, L"C:\\x");

    // The consumed argument is a path even when it looks like an option.
    CommandLineRequest optionLike = Parse({L"/select", L"/n"});
    EXPECT_TRUE(optionLike.select);
    EXPECT_EQ(optionLike.path, L"/n");

    EXPECT_EQ(Parse({L"/select,"}).path, L"");
    EXPECT_TRUE(Parse({L"/select,"}).select);
}

TEST(CommandLine, TrailingSelectWithoutPathIsIgnored) {
    CommandLineRequest request = Parse({L"C:\\a", L"/select"});
    EXPECT_FALSE(request.select);
    EXPECT_EQ(request.path, L"C:\\a");
}

TEST(CommandLine, RestartNeedsTwoLeadingCharacters) {
    EXPECT_TRUE(Parse({L"--restart"}).restart);
    EXPECT_TRUE(Parse({L"/-restart"}).restart);
    EXPECT_TRUE(Parse({L"--RESTART"}).restart);
    EXPECT_FALSE(Parse({L"-restart"}).restart);
    EXPECT_FALSE(Parse({L"restart"}).restart);
    EXPECT_EQ(Parse({L"restart"}).path, L"restart");
}

TEST(CommandLine, UninstallSilentAndRestoreAreOptions) {
    CommandLineRequest request = Parse({L"/uninstall", L"-Silent", L"/RESTORE"});
    EXPECT_TRUE(request.uninstall);
    EXPECT_TRUE(request.silent);
    EXPECT_TRUE(request.restore);
    EXPECT_TRUE(request.path.empty());
    EXPECT_FALSE(Parse({L"/uninstallx"}).uninstall);
}

TEST(CommandLine, ShellSwitchesAndUnknownOptionsAreIgnoredWhereverTheyStand) {
    EXPECT_EQ(Parse({L"/n", L"C:\\a", L"/D"}), CommandLineRequest{L"C:\\a"});
    EXPECT_EQ(Parse({L"/e,", L"-x", L"C:\\a", L"/N"}), CommandLineRequest{L"C:\\a"});
    // An empty argument does not begin with an option character, so it is a path.
    EXPECT_EQ(Parse({L"C:\\a", L""}).path, L"");
}

// The splitter stands in for the shell's CommandLineToArgvW: on lines made of
// the characters that matter to it (blanks, tabs, quotes, backslashes) it
// must split exactly as that function does.
TEST(CommandLine, SplitsLinesAsTheShellDoes) {
    const wchar_t alphabet[] = {L'a', L' ', L'\t', L'"', L'\\', L'\u6587'};
    unsigned state = 12345;
    const auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 5000; ++round) {
        std::wstring line = round % 3 == 0 ? L"\"C:\\a b\\Q.exe\"" : L"Q.exe";
        const unsigned length = next() % 14;
        for (unsigned i = 0; i < length; ++i) line += alphabet[next() % std::size(alphabet)];
        int count = 0;
        UniqueArgv argv(CommandLineToArgvW(line.c_str(), &count));
        ASSERT_TRUE(argv);
        const std::vector<std::wstring> expected(argv.get(), argv.get() + count);
        EXPECT_EQ(SplitCommandLine(line), expected) << "the line was [" << NarrowForTest(line) << "]";
    }
}

}  // namespace
