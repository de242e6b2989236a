#include "mainwindow/tab_info.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include "common/private_prefix.h"
#include "ui/shell_icons.h"
#include "ui/text.h"

namespace {

class UnbuiltTabRecord : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

// A tab not shown yet stands for its folder as it was saved, and is named and
// drawn as the shell names and draws that folder.
TEST_F(UnbuiltTabRecord, HoldsTheSavedLineAndTheShellsNameAndIcon) {
    const TabInfo tab = UnbuiltTab(L"C:\\windows\\system32\\");
    EXPECT_EQ(tab.panel, nullptr);
    EXPECT_EQ(TabFolder(tab), L"C:\\windows\\system32\\");
    EXPECT_TRUE(EqualsIgnoringCase(tab.title, L"system32")) << NarrowForTest(tab.title);
    EXPECT_GE(tab.icon, 0);
    EXPECT_EQ(TabIconIndex(tab), tab.icon);
}

// A folder gone since it was saved keeps its line until its tab is shown.
TEST_F(UnbuiltTabRecord, AMissingFolderIsNamedByItsPath) {
    const TabInfo tab = UnbuiltTab(L"Q:\\no such folder\\gone\\");
    EXPECT_EQ(TabFolder(tab), L"Q:\\no such folder\\gone\\");
    EXPECT_EQ(tab.title, L"gone");
    EXPECT_EQ(tab.icon, -1);
    EXPECT_EQ(TabIconIndex(tab), FolderIconIndex());
}

}  // namespace
