#include "panel/pane_transfer.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "ui/handles.h"
#include "ui/shell_items.h"

namespace {

namespace fs = std::filesystem;

TEST(PaneTransfer, TheOlderCallGetsEachPathEndedByANulAndOneMoreAtTheEnd) {
    // The literal's own terminator is the list's last NUL.
    constexpr wchar_t kTwoPaths[] = L"C:\\a\0D:\\资料 一\0";
    EXPECT_EQ(NulSeparatedPathList({L"C:\\a", L"D:\\资料 一"}), std::wstring(kTwoPaths, std::size(kTwoPaths)));
    EXPECT_TRUE(NulSeparatedPathList({}).empty());
    EXPECT_TRUE(NulSeparatedPathList({L"C:\\a", L""}).empty()) << "an empty entry would end the list there";

    // Only a missing service hands the work to the older call; any other
    // failure is the answer to this transfer.
    EXPECT_TRUE(FileOperationUnavailable(E_NOTIMPL));
    EXPECT_TRUE(FileOperationUnavailable(REGDB_E_CLASSNOTREG));
    EXPECT_FALSE(FileOperationUnavailable(HRESULT_FROM_WIN32(ERROR_CANCELLED)));
    EXPECT_FALSE(FileOperationUnavailable(E_ACCESSDENIED));
}

class PaneTransferFiles : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }

    static ComPtr<IShellItem> Item(const fs::path& path) {
        ComPtr<IShellItem> item;
        EXPECT_TRUE(SUCCEEDED(ItemFromPath(path.wstring(), item.put()))) << path.string();
        return item;
    }

    static ComPtr<IShellItemArray> Items(const std::vector<fs::path>& paths) {
        std::vector<UniqueIdList> lists;
        std::vector<PCIDLIST_ABSOLUTE> pointers;
        for (const fs::path& path : paths) {
            lists.emplace_back();
            EXPECT_TRUE(SUCCEEDED(SHParseDisplayName(path.c_str(), nullptr, lists.back().put(), 0, nullptr)));
            pointers.push_back(lists.back().get());
        }
        ComPtr<IShellItemArray> items;
        EXPECT_TRUE(SUCCEEDED(SHCreateShellItemArrayFromIDLists(static_cast<UINT>(pointers.size()), pointers.data(),
                                                                 items.put())));
        return items;
    }

    static std::string Contents(const fs::path& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }

    TempFolder source;
    TempFolder destination;
};

// Under Wine this goes through the older call, whose service the shell lacks.
// Both calls return once the work is done.
TEST_F(PaneTransferFiles, CopiesAndMovesFilesIntoTheOtherFolder) {
    const fs::path report = source.Path() / L"报告 一.txt";
    const fs::path notes = source.Path() / L"notes.txt";
    const fs::path moved = source.Path() / L"moved.txt";
    std::ofstream(report) << "report";
    std::ofstream(notes) << "notes";
    std::ofstream(moved) << "moved";

    ASSERT_TRUE(TransferItems(nullptr, Items({report, notes}).get(), Item(destination.Path()).get(), false));
    EXPECT_EQ(Contents(destination.Path() / report.filename()), "report");
    EXPECT_EQ(Contents(destination.Path() / notes.filename()), "notes");
    EXPECT_TRUE(fs::exists(report)) << "a copy leaves the original";

    ASSERT_TRUE(TransferItems(nullptr, Items({moved}).get(), Item(destination.Path()).get(), true));
    EXPECT_EQ(Contents(destination.Path() / moved.filename()), "moved");
    EXPECT_FALSE(fs::exists(moved)) << "a move takes the original away";
}

}  // namespace
