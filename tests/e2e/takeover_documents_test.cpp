#include <windows.h>

#include <filesystem>
#include <fstream>

#include "settings/line_file.h"
#include "takeover/takeover_documents.h"
#include "takeover_fixture.h"

namespace {

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(TakeoverTest, GuideIsWrittenOnceAndTheReportAgainWhenMissing) {
    const std::filesystem::path guide = install.Folder() / L"doc" / kRestoreGuideFileName;
    const std::filesystem::path report = install.ConfigFile(kTakeoverReportFileName);
    {
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        // Line files: byte-order mark, every line ended by CR LF, empty lines kept.
        EXPECT_EQ(FileBytes(guide), EncodeLines(RestoreGuideLines()));
        EXPECT_EQ(FileBytes(report), EncodeLines(TakeoverReportLines(std::nullopt)));
        CloseQuorlen(quorlen, window);
    }

    {
        std::ofstream edited(guide, std::ios::binary | std::ios::trunc);
        edited << "edited by the user";
    }
    ASSERT_TRUE(DeleteFileW(report.c_str()));
    {
        QuorlenProcess quorlen;
        const HWND window = StartQuorlen(quorlen);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(FileBytes(guide), "edited by the user");
        EXPECT_EQ(FileBytes(report), EncodeLines(TakeoverReportLines(std::nullopt)));
        CloseQuorlen(quorlen, window);
    }
}

}  // namespace
