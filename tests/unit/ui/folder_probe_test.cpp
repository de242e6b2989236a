#include "ui/folder_probe.h"

#include <gtest/gtest.h>

#include <atomic>

#include "ui/handles.h"

namespace {

bool ReachBecomes(FolderProbe& probe, const std::wstring& folder, FolderReach wanted) {
    const ULONGLONG start = GetTickCount64();
    while (GetTickCount64() - start < 20000) {
        if (probe.Reach(folder) == wanted) return true;
        SwitchToThread();
    }
    return false;
}

// A folder on a drive that may be slow is looked up on a thread of its own: the
// caller is never kept waiting, and learns the answer once the drive gives it.
TEST(FolderProbe, ASlowDriveIsAskedAboutOnceAndNeverWaitedFor) {
    const UniqueKernelHandle driveAnswers(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> lookups{0};
    FolderProbe probe(
        [&lookups, answers = driveAnswers.get()](const std::wstring& folder) {
            ++lookups;
            WaitForSingleObject(answers, INFINITE);
            return folder != L"\\\\srv\\gone";
        },
        [](const std::wstring& folder) { return folder.starts_with(L"C:"); });

    EXPECT_EQ(probe.Reach(L"C:\\Users"), FolderReach::Ready) << "a fixed drive answers at once";
    EXPECT_EQ(probe.Reach(L"\\\\srv\\share\\docs"), FolderReach::Asking);
    EXPECT_EQ(probe.Reach(L"\\\\SRV\\Share\\Docs\\"), FolderReach::Asking) << "one lookup per folder";
    EXPECT_EQ(probe.Reach(L"\\\\srv\\gone"), FolderReach::Asking);

    SetEvent(driveAnswers.get());
    EXPECT_TRUE(ReachBecomes(probe, L"\\\\srv\\share\\docs", FolderReach::Ready));
    EXPECT_TRUE(ReachBecomes(probe, L"\\\\srv\\gone", FolderReach::Unreachable));
    EXPECT_EQ(lookups, 2);

    // Forgotten, a folder is looked up afresh.
    probe.Forget();
    EXPECT_NE(probe.Reach(L"\\\\srv\\gone"), FolderReach::Unreachable);
    EXPECT_TRUE(ReachBecomes(probe, L"\\\\srv\\gone", FolderReach::Unreachable));
    EXPECT_EQ(lookups, 3);
}

}  // namespace
