#include "mainwindow/tab_info.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include "common/private_prefix.h"
#include "mainwindow/folder_descriptions.h"
#include "ui/text.h"

namespace {

class UnbuiltTabRecord : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

// A tab not shown yet stands for its folder as it was saved, and is named and
// drawn as the shell names and draws that folder once it has been described.
TEST_F(UnbuiltTabRecord, HoldsTheSavedLineAndTakesTheShellsNameAndIcon) {
    TabInfo tab = UnbuiltTab(L"C:\\windows\\system32\\");
    EXPECT_EQ(tab.panel, nullptr);
    EXPECT_EQ(tab.title, L"system32");
    EXPECT_EQ(tab.icon, -1);

    const FolderDescription description = DescribeFolder(L"C:\\windows\\system32\\");
    EXPECT_TRUE(EqualsIgnoringCase(description.name, L"system32")) << NarrowForTest(description.name);
    ASSERT_GE(description.icon, 0);
    Describe(tab, description);
    EXPECT_EQ(tab.title, description.name);
    EXPECT_EQ(tab.icon, description.icon);
    EXPECT_EQ(TabFolder(tab), L"C:\\windows\\system32\\");

    // Another folder's description is not this tab's.
    Describe(tab, FolderDescription{L"C:\\windows", L"windows", 0});
    EXPECT_EQ(tab.title, description.name);
}

// A folder gone since it was saved keeps its line and its name from the path.
TEST_F(UnbuiltTabRecord, AMissingFolderIsNamedByItsPath) {
    TabInfo tab = UnbuiltTab(L"Q:\\no such folder\\gone\\");
    const FolderDescription description = DescribeFolder(tab.requestedPath);
    EXPECT_TRUE(description.name.empty());
    EXPECT_EQ(description.icon, -1);
    Describe(tab, description);
    EXPECT_EQ(TabFolder(tab), L"Q:\\no such folder\\gone\\");
    EXPECT_EQ(tab.title, L"gone");
    EXPECT_EQ(tab.icon, -1);
}

// The describer's thread tells the window when every folder is described, in order.
TEST_F(UnbuiltTabRecord, TheDescriberPostsOnceEveryFolderIsDescribed) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    FolderDescriber describer;
    EXPECT_TRUE(describer.Descriptions().empty());
    ASSERT_TRUE(describer.Start({L"C:\\windows", L"Q:\\gone"}, window, WM_APP));
    MSG message{};
    const ULONGLONG start = GetTickCount64();
    bool posted = false;
    while (!(posted = PeekMessageW(&message, window, WM_APP, WM_APP, PM_REMOVE) != FALSE) &&
           GetTickCount64() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
    }
    ASSERT_TRUE(posted) << "the describer never posted";
    DestroyWindow(window);
    const std::vector<FolderDescription> descriptions = describer.Descriptions();
    ASSERT_EQ(descriptions.size(), 2u);
    EXPECT_TRUE(EqualsIgnoringCase(descriptions[0].name, L"windows"));
    EXPECT_TRUE(descriptions[1].name.empty());
}

}  // namespace
