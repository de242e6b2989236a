#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "common/bitmap_pixels.h"
#include "common/png_file.h"
#include "common/private_prefix.h"
#include "common/screenshot.h"
#include "dialogs/settings_form.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"
#include "tabstrip/tab_strip_messages.h"

namespace {

const wchar_t* ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label: return L"Static";
    case ControlKind::Edit: return L"Edit";
    case ControlKind::Choice: return L"ComboBox";
    default: return L"Button";
    }
}

std::wstring ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Captures a window once it shows something that painted is true of, and
// leaves the picture for a person to judge.
PixelImage Screenshot(HWND window, const wchar_t* fileName, const std::function<bool(const PixelImage&)>& painted) {
    PixelImage pixels;
    RECT bounds{};
    EXPECT_TRUE(WaitUntil(
        [&] {
            UniqueBitmap shot;
            if (GetWindowRect(window, &bounds)) shot = CaptureScreenRect(bounds);
            pixels = shot ? ReadBitmapPixels(shot.get()) : PixelImage{};
            if (pixels.pixels.empty() || !painted(pixels)) return false;
            EXPECT_TRUE(SaveBitmapAsPng(shot.get(), (ScreenshotFolder() / fileName).wstring()));
            return true;
        },
        10000))
        << "the window never showed its content";
    return pixels;
}

bool IsDark(const RGBQUAD& pixel) { return pixel.rgbRed < 96 && pixel.rgbGreen < 96 && pixel.rgbBlue < 96; }
bool IsWhite(const RGBQUAD& pixel) { return pixel.rgbRed == 255 && pixel.rgbGreen == 255 && pixel.rgbBlue == 255; }

// A window with a settings.txt whose values the dialog can be seen to keep or change.
class SettingsDialogTest : public TabsTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + folders[0] + L"\""; }
    void PrepareConfig() override {
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"HistoryLimit=37", L"NewTabPath=" + folders[1]}));
    }

    // Presses the strip's settings button, which opens the dialog.
    HWND OpenSettings() {
        const LPARAM onButton = MAKELPARAM(Query(strip, kTabStripSettingsLeftMessage) + MulDiv(12, Dpi(), 96), MulDiv(13, Dpi(), 96));
        PostMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, onButton);
        PostMessageW(strip, WM_LBUTTONUP, 0, onButton);
        HWND dialog = nullptr;
        EXPECT_TRUE(WaitUntil(
            [&] { return (dialog = FindProcessWindow(quorlen.Id(), L"Quorlen.SettingsDlg")) != nullptr; }, 15000))
            << "the settings dialog did not open";
        return dialog;
    }

    static int Dpi() { return static_cast<int>(GetDpiForSystem()); }

    static void SetText(HWND dialog, int id, const std::wstring& text) {
        LRESULT ignored = 0;
        ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                    ignored));
    }

    // Posted, as a button may hold the dialog in a message box until it is answered.
    static void Press(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

    bool WaitForClosed(HWND dialog) const {
        return WaitUntil([&] { return !IsWindow(dialog) && IsWindowEnabled(window); }, 10000);
    }

    std::vector<std::wstring> SavedSettings() const { return ReadConfigLines(install, L"settings.txt"); }
};

TEST_F(SettingsDialogTest, OpensOverTheDisabledWindowWithEveryControlAndEscapeStoresNothing) {
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), L"设置 - Quorlen");
    EXPECT_FALSE(IsWindowEnabled(window));
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, MulDiv(kSettingsClientWidthDip, Dpi(), 96));
    EXPECT_EQ(client.bottom, MulDiv(kSettingsClientHeightDip, Dpi(), 96));

    for (const ControlRow& row : kSettingsControls) {
        HWND control = GetDlgItem(dialog, row.id);
        ASSERT_NE(control, nullptr) << row.id;
        EXPECT_EQ(lstrcmpiW(ClassName(control).c_str(), ClassOf(row.kind)), 0) << row.id;
        EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP, 0) << row.id;
        if (row.kind != ControlKind::Edit && row.kind != ControlKind::Choice && row.id != kTakeoverStatusId) {
            EXPECT_EQ(WindowText(control), row.text);
        }
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        RECT expected = ScaledControlRect(row, Dpi());
        // A closed drop-down list is as tall as its font makes it.
        if (row.kind == ControlKind::Choice) expected.bottom = place.bottom;
        EXPECT_TRUE(EqualRect(&place, &expected)) << row.id;
    }
    EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, 4228), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, kFavBarVisibleId), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, kBackupDirId), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);

    // Filled from the saved settings and the defaults.
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kHistoryLimitId)), L"37");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kNewTabPathId)), folders[1]);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kBackupDirId)), L"");
    LRESULT checked = -1;
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, kFavBarVisibleId), BM_GETCHECK, 0, 0, checked));
    EXPECT_EQ(checked, BST_UNCHECKED);
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, kSearchBoxVisibleId), BM_GETCHECK, 0, 0, checked));
    EXPECT_EQ(checked, BST_CHECKED);
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, kRecentTabOrderId), BM_GETCHECK, 0, 0, checked));
    EXPECT_EQ(checked, BST_UNCHECKED);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kAppearanceId)), L"跟随系统");
    const std::wstring status = WindowText(GetDlgItem(dialog, kTakeoverStatusId));
    EXPECT_TRUE(status.starts_with(L"当前状态：")) << NarrowForTest(status);

    // Something besides the button face where the confirm button's caption is.
    const RECT confirm = ScaledControlRect(kSettingsControls[std::size(kSettingsControls) - 1], Dpi());
    POINT clientOrigin{0, 0};
    ClientToScreen(dialog, &clientOrigin);
    RECT bounds{};
    GetWindowRect(dialog, &bounds);
    Screenshot(dialog, L"settings-dialog.png", [&](const PixelImage& shot) {
        int inked = 0;
        for (int y = confirm.top + 4; y < confirm.bottom - 4; ++y) {
            for (int x = confirm.left + 4; x < confirm.right - 4; ++x) {
                const int shotX = x + clientOrigin.x - bounds.left;
                const int shotY = y + clientOrigin.y - bounds.top;
                if (shotX < shot.width && shotY < shot.height && IsDark(shot.At(shotX, shotY))) ++inked;
            }
        }
        return inked > 10;
    });

    SetText(dialog, kHistoryLimitId, L"55");
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitForClosed(dialog));
    const std::vector<std::wstring> saved = SavedSettings();
    EXPECT_TRUE(HasLine(saved, L"HistoryLimit=37"));
    EXPECT_TRUE(HasLine(saved, L"NewTabPath=" + folders[1]));
}

TEST_F(SettingsDialogTest, ConfirmStoresBlankAndUnreadableEntriesAsTheirDefaults) {
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    SetText(dialog, kHistoryLimitId, L"abc");
    SetText(dialog, kNewTabPathId, L"  \t ");
    Press(dialog, IDOK);
    ASSERT_TRUE(WaitForClosed(dialog));
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::vector<std::wstring> saved = SavedSettings();
            return HasLine(saved, L"HistoryLimit=100") && HasLine(saved, L"NewTabPath=");
        },
        10000));
}

TEST_F(SettingsDialogTest, ConfirmKeepsWhatWasWrittenSinceTheSettingsWereLoaded) {
    // Once the start has saved its tab, the user or another tool changes the
    // view mode and the window's place in the file.
    ASSERT_TRUE(WaitUntil([&] { return HasLine(SavedSettings(), L"ActiveTab=0"); }, 15000));
    ASSERT_TRUE(WriteConfigLines(install, L"settings.txt",
                                 {L"HistoryLimit=37", L"NewTabPath=" + folders[1], L"ActiveTab=0", L"ViewMode=4",
                                  L"ViewIconSize=16", L"NavVisible=0", L"WindowX=123"}));
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    SetText(dialog, kHistoryLimitId, L"55");
    Press(dialog, IDOK);
    ASSERT_TRUE(WaitForClosed(dialog));
    ASSERT_TRUE(WaitUntil([&] { return HasLine(SavedSettings(), L"HistoryLimit=55"); }, 10000));
    const std::vector<std::wstring> saved = SavedSettings();
    for (const wchar_t* line : {L"ViewMode=4", L"ViewIconSize=16", L"NavVisible=0", L"WindowX=123"}) {
        EXPECT_TRUE(HasLine(saved, line)) << "the dialog put back the loaded " << NarrowForTest(line);
    }
}

TEST_F(SettingsDialogTest, ChoosingDarkTurnsTheOpenWindowDarkAtOnceAndIsSaved) {
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    LRESULT chosen = CB_ERR;
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, kAppearanceId), CB_SETCURSEL, 2, 0, chosen));
    ASSERT_EQ(WindowText(GetDlgItem(dialog, kAppearanceId)), L"深色");
    Press(dialog, IDOK);
    ASSERT_TRUE(WaitForClosed(dialog));
    RECT bounds{};
    GetWindowRect(strip, &bounds);
    EXPECT_TRUE(WaitUntil([&] { return Painted(strip) && LightPixelPercent(bounds) <= 25; }, 10000))
        << "the strip did not turn dark";
    EXPECT_TRUE(WaitUntil([&] { return HasLine(SavedSettings(), L"Appearance=2"); }, 10000));
}

TEST_F(SettingsDialogTest, TickingTheFavouritesBarShowsItAboveThePanelAndTheTicksAreSaved) {
    HWND bar = GetDlgItem(window, 11);
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(IsWindowVisible(bar));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(strip) == L"alpha"; }, 15000));
    HWND panel = FindDescendant(window, L"Quorlen.PanelHost");
    ASSERT_NE(panel, nullptr);
    RECT panelBefore{};
    GetWindowRect(panel, &panelBefore);

    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    Press(dialog, kFavBarVisibleId);
    Press(dialog, kRecentTabOrderId);
    Press(dialog, IDOK);
    ASSERT_TRUE(WaitForClosed(dialog));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(bar) != FALSE; }, 10000)) << "the favourites bar stayed hidden";
    RECT barPlace{};
    RECT panelAfter{};
    GetWindowRect(bar, &barPlace);
    GetWindowRect(panel, &panelAfter);
    EXPECT_EQ(barPlace.bottom - barPlace.top, MulDiv(28, Dpi(), 96));
    EXPECT_EQ(panelAfter.top, barPlace.bottom);
    EXPECT_EQ(panelAfter.top, panelBefore.top + (barPlace.bottom - barPlace.top));
    EXPECT_TRUE(WaitUntil([&] { return HasLine(SavedSettings(), L"FavBarVisible=1"); }, 10000));
    EXPECT_TRUE(HasLine(SavedSettings(), L"RecentTabOrder=1"));
}

TEST_F(SettingsDialogTest, AWindowClosedWhileTheDialogIsUpClosesOnceItIsAnswered) {
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0));
    Sleep(500);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindow(window));
    Press(dialog, IDCANCEL);
    DWORD exitCode = 1;
    ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode)) << "the window did not close after the dialog";
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(SettingsDialogTest, BackupWithoutAFolderRemindsAndTheDonateWindowShowsThePicture) {
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    SetText(dialog, kBackupDirId, L"   ");
    Press(dialog, kBackupNowId);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(quorlen.Id())) != nullptr; }, 10000))
        << "no reminder appeared";
    EXPECT_EQ(MessageBoxText(box), L"尚未配置备份路径，请先填写“备份路径”。");
    EXPECT_EQ(WindowText(box), L"数据备份");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindMessageBox(quorlen.Id()) == nullptr; }, 10000));

    Press(dialog, kDonateId);
    HWND donate = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (donate = FindProcessWindow(quorlen.Id(), L"Quorlen.Donate")) != nullptr; },
                          10000))
        << "the donate window did not open; " << NarrowForTest(MessageBoxText(FindMessageBox(quorlen.Id())));
    EXPECT_EQ(WindowText(donate), L"捐赠 - Quorlen");
    EXPECT_FALSE(IsWindowEnabled(dialog));
    EXPECT_FALSE(IsWindowEnabled(window));
    RECT client{};
    GetClientRect(donate, &client);
    const int margin = MulDiv(12, Dpi(), 96);
    EXPECT_EQ(client.right, 361 + 2 * margin);
    EXPECT_EQ(client.bottom, 426 + 2 * margin);

    // The picture at its own size inside a white margin: dark modules of its code
    // in the middle, white all along the margin.
    POINT clientOrigin{0, 0};
    ClientToScreen(donate, &clientOrigin);
    RECT bounds{};
    GetWindowRect(donate, &bounds);
    const int left = clientOrigin.x - bounds.left;
    const int top = clientOrigin.y - bounds.top;
    const PixelImage shot = Screenshot(donate, L"donate-window.png", [&](const PixelImage& pixels) {
        int dark = 0;
        for (int y = top + margin + 150; y < top + margin + 350 && y < pixels.height; ++y) {
            for (int x = left + margin + 80; x < left + margin + 280 && x < pixels.width; ++x) {
                if (IsDark(pixels.At(x, y))) ++dark;
            }
        }
        return dark > 1000;
    });
    ASSERT_GE(shot.height, top + client.bottom);
    for (int x = left; x < left + client.right; x += 7) {
        EXPECT_TRUE(IsWhite(shot.At(x, top + margin / 2))) << "top margin at " << x;
        EXPECT_TRUE(IsWhite(shot.At(x, top + client.bottom - 1 - margin / 2))) << "bottom margin at " << x;
    }

    PostMessageW(donate, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(donate) && IsWindowEnabled(dialog); }, 10000))
        << "Esc did not close the donate window";
    EXPECT_FALSE(IsWindowEnabled(window));
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitForClosed(dialog));
}

TEST_F(SettingsDialogTest, AQuitWhileBothWindowsAreOpenClosesThemAndEndsTheProgram) {
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    Press(dialog, kDonateId);
    ASSERT_TRUE(WaitUntil([&] { return FindProcessWindow(quorlen.Id(), L"Quorlen.Donate") != nullptr; }, 10000));
    ASSERT_TRUE(PostThreadMessageW(GetWindowThreadProcessId(dialog, nullptr), WM_QUIT, 7, 0));
    DWORD exitCode = 0;
    ASSERT_TRUE(quorlen.WaitForExit(20000, exitCode)) << "the program went on after the quit";
    EXPECT_EQ(exitCode, 7u);
}

}  // namespace
