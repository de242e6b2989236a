#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/png_file.h"
#include "common/private_prefix.h"
#include "common/screenshot.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"

namespace {

constexpr int kFavBarId = 11;
constexpr UINT kFavouriteCount = 0x8060;

int Height(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return bounds.bottom - bounds.top;
}

// Posts WM_DROPFILES as the shell's drop does: the drop block lives in the
// receiving process, which reads and frees it.
bool DropFiles(DWORD processId, HWND target, const std::vector<std::wstring>& paths) {
    std::vector<BYTE> block(sizeof(DROPFILES));
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    for (const std::wstring& path : paths) {
        const auto* bytes = reinterpret_cast<const BYTE*>(path.c_str());
        block.insert(block.end(), bytes, bytes + (path.size() + 1) * sizeof(wchar_t));
    }
    block.insert(block.end(), sizeof(wchar_t), 0);

    const UniqueKernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return false;
    void* remote = VirtualAllocEx(process.get(), nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    SIZE_T written = 0;
    return WriteProcessMemory(process.get(), remote, block.data(), block.size(), &written) &&
           written == block.size() && PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

// The favourites bar switched on, with the test's folders as favourites.
class FavBarTest : public TabsTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + folders[0] + L"\""; }
    void PrepareConfig() override {
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"FavBarVisible=1"}));
        ASSERT_TRUE(WriteConfigLines(install, L"favorites.txt", {folders[0], folders[1], folders[2]}));
    }

    void SetUp() override {
        TabsTest::SetUp();
        if (HasFatalFailure()) return;
        bar = GetDlgItem(window, kFavBarId);
        ASSERT_NE(bar, nullptr) << "no favourites bar";
        ASSERT_TRUE(WaitUntil([&] { return WindowText(strip) == L"alpha"; }, 15000));
        SetWindowPos(window, nullptr, 0, 0, 420, 500, SWP_NOZORDER);
        SetForegroundWindow(window);
    }

    void TearDown() override {
        PlaceCursor(POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
    }

    HWND bar = nullptr;
};

TEST_F(FavBarTest, DroppedFoldersBecomeFavouritesAndTheBarGrowsARowForThem) {
    EXPECT_TRUE(IsWindowVisible(bar));
    LRESULT count = 0;
    ASSERT_TRUE(SendWithTimeout(bar, kFavouriteCount, 0, 0, count));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(Height(bar), 28);

    std::vector<std::wstring> dropped;
    for (const wchar_t* name : {L"第一个相当长的文件夹名字用来换行", L"another folder with a long name"}) {
        dropped.push_back((data.Path() / name).wstring());
        std::filesystem::create_directories(dropped.back());
    }
    ASSERT_TRUE(DropFiles(quorlen.Id(), bar, dropped));

    std::vector<std::wstring> expected = {folders[0], folders[1], folders[2]};
    expected.insert(expected.end(), dropped.begin(), dropped.end());
    EXPECT_TRUE(WaitUntil([&] { return SamePaths(ReadConfigLines(install, L"favorites.txt"), expected); }, 10000))
        << "the dropped folders were not added in drop order";
    EXPECT_TRUE(WaitUntil([&] { return Height(bar) == 56; }, 5000)) << "the bar is " << Height(bar) << " px high";
    ASSERT_TRUE(SendWithTimeout(bar, kFavouriteCount, 0, 0, count));
    EXPECT_EQ(count, 5);

    RECT frame{};
    GetWindowRect(window, &frame);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ASSERT_TRUE(WaitUntil([&] { return Painted(window) && Painted(bar); }, kInputStepMs)) << "the bar never painted";
    const UniqueBitmap shot = CaptureScreenRect(frame);
    const std::filesystem::path file = ScreenshotFolder() / L"favourites-bar-two-rows.png";
    EXPECT_TRUE(shot && SaveBitmapAsPng(shot.get(), file.wstring())) << NarrowForTest(file.wstring());
}

TEST_F(FavBarTest, DraggingAFavouriteToTheEndOfTheBarMovesItThere) {
    RECT place{};
    GetWindowRect(bar, &place);
    const POINT onFirst{place.left + 34, place.top + 14};
    const POINT pastLast{place.right - 12, place.top + 14};
    ASSERT_TRUE(GrabOn(bar, onFirst));
    for (const POINT at : {POINT{onFirst.x + 12, onFirst.y}, pastLast}) {
        EXPECT_TRUE(MoveUntil(at, [] { return FindWindowW(L"Quorlen.FavGhost", nullptr) != nullptr; }))
            << "no drag image followed the cursor to " << at.x << "," << at.y;
    }
    Buttons(MOUSEEVENTF_LEFTUP);

    EXPECT_TRUE(WaitUntil(
        [&] { return SamePaths(ReadConfigLines(install, L"favorites.txt"), {folders[1], folders[2], folders[0]}); },
        10000))
        << "the favourites were not reordered";
    EXPECT_TRUE(WaitUntil([] { return FindWindowW(L"Quorlen.FavGhost", nullptr) == nullptr; }, 5000));
}

}  // namespace
