#include "mainwindow/tabs/tab_info.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include "common/private_prefix.h"
#include "mainwindow/tabs/folder_descriptions.h"
#include "ui/handles.h"
#include "ui/paths.h"
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
    tab.title = L"正在连接…";
    Describe(tab, description);
    EXPECT_EQ(TabFolder(tab), L"Q:\\no such folder\\gone\\");
    EXPECT_EQ(tab.title, L"gone") << "a drive that gave up leaves the name from the path";
    EXPECT_EQ(tab.icon, -1);
}

// A folder on a slow or missing share holds up neither the window nor the
// folders of other drives: each description is posted as it comes, and the
// slow one is reported waiting until its drive answers.
TEST_F(UnbuiltTabRecord, ASlowShareHoldsUpOnlyItsOwnFolders) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const UniqueKernelHandle shareAnswers(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const std::wstring slow = L"\\\\slow\\share\\docs";
    // The share is made up: it answers when the test lets it, with a name of its own.
    FolderDescriber describer([answers = shareAnswers.get()](const std::wstring& path) {
        if (!EqualsIgnoringCase(path.substr(0, 6), L"\\\\slow")) return DescribeFolder(path);
        WaitForSingleObject(answers, INFINITE);
        return FolderDescription{path, LastPathComponent(path), -1};
    });
    EXPECT_TRUE(describer.Descriptions().empty());
    ASSERT_TRUE(describer.Start({slow, L"C:\\windows", L"Q:\\gone", L"\\\\SLOW\\Share\\more"}, window, WM_APP));
    const auto describedOnceTold = [&](size_t count) {
        MSG message{};
        const ULONGLONG start = GetTickCount64();
        while (GetTickCount64() - start < 20000) {
            if (PeekMessageW(&message, window, WM_APP, WM_APP, PM_REMOVE) && describer.Descriptions().size() == count) {
                return true;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
        }
        return false;
    };
    ASSERT_TRUE(describedOnceTold(2)) << "the other drives' folders waited for the slow share";
    std::vector<FolderDescription> descriptions = describer.Descriptions();
    EXPECT_TRUE(EqualsIgnoringCase(descriptions[0].name + descriptions[1].name, L"windows") ||
                EqualsIgnoringCase(descriptions[1].name + descriptions[0].name, L"windows"));
    EXPECT_TRUE(describer.Waiting(slow));
    EXPECT_TRUE(describer.Waiting(L"\\\\SLOW\\Share\\more")) << "a share's folders wait in one line";
    EXPECT_FALSE(describer.Waiting(L"C:\\windows"));

    SetEvent(shareAnswers.get());
    ASSERT_TRUE(describedOnceTold(4)) << "the share's folders were never described";
    EXPECT_FALSE(describer.Waiting(slow));
    DestroyWindow(window);
}

TEST(DescriptionQueues, FoldersWaitForTheirOwnDriveOrShareOnly) {
    EXPECT_EQ(DescriptionQueueOf(L"c:\\Windows"), DescriptionQueueOf(L"C:\\"));
    EXPECT_NE(DescriptionQueueOf(L"C:\\a"), DescriptionQueueOf(L"D:\\a"));
    EXPECT_EQ(DescriptionQueueOf(L"\\\\srv\\Share\\a\\b"), DescriptionQueueOf(L"\\\\SRV\\share"));
    EXPECT_NE(DescriptionQueueOf(L"\\\\srv\\one\\a"), DescriptionQueueOf(L"\\\\srv\\two\\a"));
    EXPECT_EQ(DescriptionQueueOf(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"), L"");
}

}  // namespace
