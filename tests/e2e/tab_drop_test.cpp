#include <windows.h>
#include <ole2.h>

#include <filesystem>
#include <fstream>

#include "driver/desktop_input.h"
#include "driver/file_drag.h"
#include "driver/quorlen_driver.h"
#include "driver/tab_drag.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"
#include "tabstrip/tab_strip_messages.h"

namespace {

// Three saved tabs, and a folder beside theirs that another program drags
// things from onto the strip.
class TabDropTest : public SavedTabsTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        oleInitialised = true;
        SavedTabsTest::SetUp();
        if (HasFatalFailure()) return;
        // The strip takes drops once it is seen, and a drag looks for a window's
        // target only as it comes onto that window.
        ASSERT_TRUE(WaitUntil([&] { return Painted(strip); }, kInputStepMs)) << "the strip never painted";
        outside = (data.Path() / L"外面").wstring();
        std::filesystem::create_directories(outside);
    }

    void TearDown() override {
        PlaceCursor(POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
        if (oleInitialised) OleUninitialize();
    }

    bool oleInitialised = false;
    std::wstring outside;
};

// The drag rests on an inactive tab until that tab comes to the front, and the
// drop there is the shell's own for the tab's folder: a move, as the file comes
// from another folder of the same volume. (Wine's shell folders settle the
// effect but leave the file where it is, so where it lands is not looked at.)
TEST_F(TabDropTest, AFileDraggedOntoAnInactiveTabBringsItToTheFrontAndDropsIntoItsFolder) {
    const std::filesystem::path file = std::filesystem::path(outside) / L"笔记.txt";
    std::ofstream(file) << "note";
    ComPtr<IDataObject> dragged;
    ASSERT_HRESULT_SUCCEEDED(ShellDataObject(file.wstring(), dragged));
    ASSERT_NE(Query(strip, kActiveTab), 1);

    DropOutcome outcome;
    ASSERT_TRUE(DropDataAt(dragged.get(), TabCentre(strip, 1, 3), [&] { return Query(strip, kActiveTab) == 1; },
                           outcome));
    EXPECT_EQ(outcome.shown, static_cast<DWORD>(DROPEFFECT_MOVE)) << "the tab's folder did not take the drag";
    EXPECT_NE(outcome.dropped, static_cast<DWORD>(DROPEFFECT_NONE));
}

TEST_F(TabDropTest, AFolderDroppedOnThePlusOpensAsANewTab) {
    ComPtr<IDataObject> dragged;
    ASSERT_HRESULT_SUCCEEDED(ShellDataObject(outside, dragged));
    POINT plus{static_cast<int>(Query(strip, kTabStripPlusLeftMessage)) + 12, 13};
    ClientToScreen(strip, &plus);

    DropOutcome outcome;
    ASSERT_TRUE(DropDataAt(dragged.get(), plus, [] { return true; }, outcome));
    EXPECT_EQ(outcome.dropped, static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_TRUE(WaitForSavedTabs({folders[0], folders[1], folders[2], outside}))
        << "the dropped folder never opened as a tab";
    EXPECT_EQ(Query(strip, kActiveTab), 3);
}

}  // namespace
