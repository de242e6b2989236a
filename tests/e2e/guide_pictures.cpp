// The pictures of the user guide, taken from the real program: one window with
// several tabs on Chinese folders and the favourites bar shown, then its menus
// and the settings dialog. tools/screenshots runs this program and names the
// folder the pictures go to in QUORLEN_GUIDE_PICTURES.

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "commandbar/command_ids.h"
#include "common/bitmap_pixels.h"
#include "common/png_file.h"
#include "common/private_prefix.h"
#include "common/screenshot.h"
#include "common/temp_folder.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/tab_drag.h"
#include "driver/window_queries.h"
#include "tabstrip/tab_strip_messages.h"
#include "ui/handles.h"

namespace {

constexpr int kCommandBarId = 1;
constexpr int kFavBarId = 11;
constexpr UINT kFavBarCount = 0x8060;
constexpr int kAddressEditId = 4009;
constexpr int kRightPaneId = 13;
constexpr DWORD kWaitMs = 30000;

// The folders a reader of the guide might keep, at the top of drive C: so that
// the address bar shows a short path. Removed again with this object.
class SampleFolders {
public:
    SampleFolders() {
        for (const wchar_t* name : {L"项目资料", L"年度报告", L"照片", L"下载"}) {
            folders_.push_back(root_ / name);
            std::filesystem::create_directories(folders_.back());
        }
        const std::filesystem::path& project = folders_.front();
        for (const wchar_t* name : {L"设计稿", L"会议纪要", L"参考资料"}) std::filesystem::create_directories(project / name);
        for (const wchar_t* name : {L"项目计划.txt", L"预算表.csv", L"需求说明.md", L"进度汇报.txt"}) {
            std::ofstream(project / name) << "Quorlen";
        }
        // One fixed time for everything the file list dates, so that pictures taken
        // again differ only where the program does.
        for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(project)) {
            SetFixedTime(entry.path());
        }
    }
    ~SampleFolders() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    SampleFolders(const SampleFolders&) = delete;
    SampleFolders& operator=(const SampleFolders&) = delete;

    [[nodiscard]] std::vector<std::wstring> Paths() const {
        std::vector<std::wstring> paths;
        for (const std::filesystem::path& folder : folders_) paths.push_back(folder.wstring());
        return paths;
    }

private:
    static void SetFixedTime(const std::filesystem::path& path) {
        const UniqueKernelHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        SYSTEMTIME noon{};
        noon.wYear = 2026;
        noon.wMonth = 12;
        noon.wDay = 1;
        noon.wHour = 12;
        FILETIME time{};
        if (file && SystemTimeToFileTime(&noon, &time)) SetFileTime(file.get(), nullptr, nullptr, &time);
    }

    std::filesystem::path root_ = L"C:\\资料";
    std::vector<std::filesystem::path> folders_;
};

RECT Union(const RECT& a, const RECT& b) {
    RECT both{};
    UnionRect(&both, &a, &b);
    return both;
}

bool SamePicture(const PixelImage& a, const PixelImage& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size()) return false;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        if (!SamePixel(a.pixels[i], b.pixels[i])) return false;
    }
    return true;
}

// Whether the part of a picture (taken of the screen rectangle shot) that a
// window covers holds dark pixels, as text does.
bool ShowsText(const PixelImage& picture, const RECT& shot, const RECT& window) {
    RECT part{};
    if (!IntersectRect(&part, &shot, &window)) return false;
    int dark = 0;
    for (int y = part.top - shot.top; y < part.bottom - shot.top; ++y) {
        for (int x = part.left - shot.left; x < part.right - shot.left; ++x) {
            const RGBQUAD& pixel = picture.At(x, y);
            if (pixel.rgbRed < 96 && pixel.rgbGreen < 96 && pixel.rgbBlue < 96) ++dark;
        }
    }
    return dark > 50;
}

class GuidePictures : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        ASSERT_EQ(GetDpiForSystem(), 96u) << "the pictures are taken at 96 DPI";
        const char* folder = std::getenv("QUORLEN_GUIDE_PICTURES");
        ASSERT_TRUE(folder && *folder) << "QUORLEN_GUIDE_PICTURES names no folder for the pictures";
        pictures = folder;
        ASSERT_TRUE(install.Ready());
        const std::vector<std::wstring> paths = samples.Paths();
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", paths));
        ASSERT_TRUE(WriteConfigLines(install, L"favorites.txt", {paths[0], paths[1], paths[2], L"C:\\"}));
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt",
                                     {L"FavBarVisible=1", L"NewTabPath=" + paths[0], L"BackupDir=D:\\备份",
                                      L"ActiveTab=0", L"WindowX=0", L"WindowY=0", L"WindowWidth=1000",
                                      L"WindowHeight=620", std::wstring(L"Appearance=") + (Dark() ? L"2" : L"1")}));
        // Off the window, so that nothing is drawn hot in the first pictures.
        PlaceCursor(POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
        ASSERT_TRUE(quorlen.Start(install));
        window = quorlen.WaitForMainWindow();
        ASSERT_NE(window, nullptr) << "no main window appeared";
        strip = GetDlgItem(window, 7);
        favBar = GetDlgItem(window, kFavBarId);
        ASSERT_TRUE(strip && favBar) << "the window has no tab strip or favourites bar";
        SetForegroundWindow(window);
        ASSERT_TRUE(WaitUntil(
            [&] {
                LRESULT favourites = 0;
                HWND list = ShownPanelDescendant(window, L"SysListView32");
                return Query(strip, kTabCount) == 4 && NavigatedPanelCount(window) == 1 &&
                       WindowText(strip) == L"项目资料" && list && FindListItem(list, L"设计稿") >= 0 &&
                       SendWithTimeout(favBar, kFavBarCount, 0, 0, favourites) && favourites == 4;
            },
            kWaitMs))
            << "the window never showed its four tabs, the first one's folder and the four favourites";
    }

    // Saves what the screen shows in a rectangle once the windows have painted
    // everything they were asked to, the picture holds still from one look to
    // the next and the window that matters most shows some text.
    void Take(const std::wstring& name, const RECT& rect, std::initializer_list<HWND> shown, HWND inked) {
        UniqueBitmap shot;
        PixelImage previous;
        ASSERT_TRUE(WaitUntil(
            [&] {
                for (HWND part : shown) {
                    if (!Painted(part)) return false;
                }
                shot = CaptureScreenRect(rect);
                if (!shot) return false;
                PixelImage pixels = ReadBitmapPixels(shot.get());
                const bool still = SamePicture(pixels, previous) && ShowsText(pixels, rect, ScreenRectOf(inked));
                previous = std::move(pixels);
                return still;
            },
            kWaitMs, 200))
            << "the windows of " << NarrowForTest(name) << " never finished painting";
        const std::filesystem::path file = pictures / (name + L".png");
        ASSERT_TRUE(SaveBitmapAsPng(shot.get(), file.wstring())) << NarrowForTest(file.wstring());
    }

    // Opens a menu with a click, takes it with the window behind it and closes it.
    void TakeMenu(const std::wstring& name, HWND target, POINT screen, DWORD button) {
        ASSERT_TRUE(ClickOn(target, screen, button));
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (menu = ShownMenu()) != nullptr; }, kWaitMs)) << "no menu opened";
        Take(name, Union(ScreenRectOf(window), ScreenRectOf(menu)), {menu}, menu);
        Key(VK_ESCAPE);
        ASSERT_TRUE(WaitUntil([] { return ShownMenu() == nullptr; }, kWaitMs)) << "the menu stayed open";
    }

    void RedrawAll() const { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN); }

    // The pictures in 深色 rather than 浅色, named with "-dark".
    virtual bool Dark() const { return false; }
    std::wstring Named(const wchar_t* name) const { return std::wstring(name) + (Dark() ? L"-dark" : L""); }

    void TakeMainWindow() {
        HWND list = ShownPanelDescendant(window, L"SysListView32");
        RedrawAll();
        Take(Named(L"main-window"), ScreenRectOf(window), {window, strip, favBar, list}, list);
    }

    void TakeTabMenu() { TakeMenu(Named(L"tab-menu"), strip, TabCentre(strip, 0, 4), MOUSEEVENTF_RIGHTDOWN); }

    void TakeSettingsDialog() {
        POINT onSettings{static_cast<int>(Query(strip, kTabStripSettingsLeftMessage)) + 12, 13};
        ClientToScreen(strip, &onSettings);
        ASSERT_TRUE(ClickOn(strip, onSettings));
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] { return (dialog = FindProcessWindow(quorlen.Id(), L"Quorlen.SettingsDlg")) != nullptr; }, kWaitMs))
            << "the settings dialog did not open";
        std::vector<HWND> controls;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            controls.push_back(child);
        }
        ASSERT_TRUE(WaitUntil(
            [&] {
                for (HWND control : controls) {
                    if (!Painted(control)) return false;
                }
                return true;
            },
            kWaitMs))
            << "the settings dialog's controls never painted";
        // Its client area only: on a display without a window manager Wine leaves
        // the caption undrawn.
        RECT client{};
        GetClientRect(dialog, &client);
        MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        Take(Named(L"settings-dialog"), client, {dialog}, dialog);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWaitMs)) << "the settings dialog stayed open";
    }

    // The first tab split by its key, its right pane on the folder of the sample folders.
    void TakeSplitView() {
        SetForegroundWindow(window);
        Chord({VK_CONTROL, VK_OEM_5});
        HWND right = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (right = GetDlgItem(window, kRightPaneId)) != nullptr; }, kWaitMs))
            << "Ctrl+\\ split nothing";
        HWND address = GetDlgItem(GetDlgItem(window, kCommandBarId), kAddressEditId);
        const std::wstring folder = std::filesystem::path(samples.Paths()[0]).parent_path().wstring();
        LRESULT ignored = 0;
        ASSERT_TRUE(SendWithTimeout(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()), ignored));
        ASSERT_TRUE(SendWithTimeout(address, WM_KEYDOWN, VK_RETURN, 0, ignored));
        HWND list = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] {
                list = FindDescendant(right, L"SysListView32");
                return WindowText(strip) == L"资料" && list && FindListItem(list, L"年度报告") >= 0;
            },
            kWaitMs))
            << "the right pane never showed the sample folders";
        RedrawAll();
        Take(L"split-view", ScreenRectOf(window), {window, strip, right}, right);
    }

    std::filesystem::path pictures;
    SampleFolders samples;
    QuorlenInstall install;
    QuorlenProcess quorlen;
    HWND window = nullptr;
    HWND strip = nullptr;
    HWND favBar = nullptr;
};

TEST_F(GuidePictures, MainWindowMenusAndSettings) {
    TakeMainWindow();

    RECT top = ScreenRectOf(window);
    top.bottom = ScreenRectOf(favBar).bottom;
    Take(L"favourites-bar", top, {window, strip, favBar}, favBar);

    HWND viewButton = GetDlgItem(GetDlgItem(window, kCommandBarId), kCommandViewMenu);
    ASSERT_NE(viewButton, nullptr);
    const RECT button = ScreenRectOf(viewButton);
    TakeMenu(L"view-menu", viewButton, POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2},
             MOUSEEVENTF_LEFTDOWN);

    TakeTabMenu();
    TakeSettingsDialog();
    TakeSplitView();
}

class DarkGuidePictures : public GuidePictures {
protected:
    bool Dark() const override { return true; }
};

TEST_F(DarkGuidePictures, MainWindowTabMenuAndSettingsInDark) {
    TakeMainWindow();
    TakeTabMenu();
    TakeSettingsDialog();
}

}  // namespace
