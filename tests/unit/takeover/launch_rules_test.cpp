#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "takeover/launch_target.h"
#include "takeover/program_location.h"
#include "ui/handles.h"
#include "ui/paths.h"

namespace {

std::vector<std::wstring> Split(const std::wstring& commandLine) {
    int count = 0;
    UniqueArgv argv(CommandLineToArgvW(commandLine.c_str(), &count));
    std::vector<std::wstring> arguments;
    for (int i = 0; argv && i < count; ++i) arguments.emplace_back(argv.get()[i]);
    return arguments;
}

TEST(LaunchTarget, OnlyFoldersOnADiskGoToQuorlen) {
    for (const wchar_t* path : {L"C:\\", L"C:", L"d:\\Work\\src", L"\\\\server\\share\\x", L"\\\\?\\C:\\long"}) {
        EXPECT_TRUE(IsFileSystemPath(path)) << path;
    }
    for (const wchar_t* path : {L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"::{645FF040-5081-101B-9F08-00AA002F954E}",
                                L"shell:Downloads", L"search-ms:query=x", L"", L"relative\\folder", L"ab:\\x",
                                L"Ä:\\x"}) {
        EXPECT_FALSE(IsFileSystemPath(path)) << path;
    }
}

TEST(LaunchTarget, TheFolderArrivesWholeAsOneArgument) {
    for (const std::wstring folder : {L"C:\\", L"C:\\a b\\50% off & more", L"D:\\文件夹 😀", L"\\\\srv\\s\\"}) {
        for (bool select : {false, true}) {
            const std::vector<std::wstring> toExplorer =
                Split(ExplorerCommandLine(L"C:\\Windows\\explorer.exe", folder, select));
            ASSERT_EQ(toExplorer.size(), 2u);
            EXPECT_EQ(toExplorer[0], L"C:\\Windows\\explorer.exe");
            EXPECT_EQ(toExplorer[1], (select ? L"/select," : L"") + folder);

            std::vector<std::wstring> toQuorlen = Split(QuorlenCommandLine(L"C:\\Q\\Quorlen.exe", folder, select));
            ASSERT_FALSE(toQuorlen.empty());
            toQuorlen.erase(toQuorlen.begin());
            const CommandLineRequest request = ParseCommandLine(toQuorlen);
            EXPECT_EQ(request.path, folder);
            EXPECT_EQ(request.select, select);
        }
    }
    EXPECT_EQ(Split(ExplorerCommandLine(L"C:\\Windows\\explorer.exe", L"", false)).size(), 1u);
}

TEST(ProgramLocation, RemovableNetworkOpticalAndTemporaryPlacesAreRefused) {
    const std::wstring temp = L"C:\\Users\\u\\AppData\\Local\\Temp\\";
    EXPECT_EQ(UnsafeLocationReason(L"C:\\Tools\\Quorlen.exe", DRIVE_FIXED, temp), L"");
    EXPECT_NE(UnsafeLocationReason(L"E:\\Quorlen.exe", DRIVE_REMOVABLE, temp).find(L"可移动"), std::wstring::npos);
    EXPECT_NE(UnsafeLocationReason(L"Z:\\Quorlen.exe", DRIVE_REMOTE, temp).find(L"网络"), std::wstring::npos);
    EXPECT_NE(UnsafeLocationReason(L"\\\\srv\\s\\Quorlen.exe", DRIVE_UNKNOWN, temp).find(L"网络"), std::wstring::npos);
    EXPECT_NE(UnsafeLocationReason(L"F:\\Quorlen.exe", DRIVE_CDROM, temp), L"");
    EXPECT_NE(UnsafeLocationReason(L"c:\\users\\U\\appdata\\local\\temp\\Temp1_q.zip\\Quorlen.exe", DRIVE_FIXED, temp)
                  .find(L"临时"),
              std::wstring::npos);
    // A folder that only begins like the temporary one is not inside it.
    EXPECT_EQ(UnsafeLocationReason(L"C:\\Users\\u\\AppData\\Local\\Temporary\\Quorlen.exe", DRIVE_FIXED, temp), L"");
}

}  // namespace
