#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "common/app_mode.h"
#include "common/png_file.h"
#include "common/private_prefix.h"
#include "common/screenshot.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/tab_drag.h"
#include "driver/window_queries.h"

// The chrome follows Windows' app mode, read from the registry as the system
// keeps it, and changes with it while running.

namespace {

constexpr int kCommandBarId = 1;
constexpr int kTabStripId = 7;
constexpr int kFavBarId = 11;

// Tells every window the colour set changed, as Windows does when the app mode switches.
void BroadcastColourSetChange() {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

class AppearanceTest : public StartedQuorlenTest {
protected:
    void PrepareConfig() override {
        mode.emplace();
        ASSERT_TRUE(mode->Set(systemLight)) << "could not write AppsUseLightTheme";
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt",
                                     {L"FavBarVisible=1", L"Appearance=" + std::to_wstring(appearance)}));
    }
    void TearDown() override { mode.reset(); }

    // Waits until the strip, the command bar and the favourites bar all look
    // dark, or all light, and says which bar did not.
    testing::AssertionResult WaitForBars(bool dark) const {
        const char* lastOff = "the main window";
        const bool reached = WaitUntil(
            [&] {
                for (const auto& [id, name] : {std::pair{kTabStripId, "tab strip"}, std::pair{kCommandBarId,
                                                                                           "command bar"},
                                               std::pair{kFavBarId, "favourites bar"}}) {
                    const HWND bar = GetDlgItem(window, id);
                    const int light = bar && Painted(bar) ? LightPixelPercent(ScreenRectOf(bar)) : -1;
                    if (light < 0 || (dark ? light > 25 : light < 60)) {
                        lastOff = name;
                        return false;
                    }
                }
                return true;
            },
            10000);
        if (reached) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "the " << lastOff << " never looked " << (dark ? "dark" : "light");
    }

    void SaveWindowPicture(const wchar_t* name) const {
        const UniqueBitmap shot = CaptureScreenRect(ScreenRectOf(window));
        const std::filesystem::path file = ScreenshotFolder() / name;
        EXPECT_TRUE(shot && SaveBitmapAsPng(shot.get(), file.wstring())) << NarrowForTest(file.wstring());
    }

    bool systemLight = false;
    int appearance = 0;
    std::optional<AppModeOverride> mode;
};

TEST_F(AppearanceTest, ADarkSystemGivesDarkBarsFromTheFirstFrameAndALightOneTurnsThemLightLive) {
    // As early as the test can see the window: whatever of the bars is on the
    // screen already is dark, never a white flash.
    RECT first = ScreenRectOf(window);
    first.bottom = first.top + MulDiv(60, static_cast<int>(GetDpiForSystem()), 96);
    const int earliest = LightPixelPercent(first);
    EXPECT_GE(earliest, 0) << "the screen could not be read";
    EXPECT_LE(earliest, 25) << "the top of a new dark window showed light first";

    ASSERT_TRUE(WaitForBars(true));
    SaveWindowPicture(L"appearance-dark-window.png");

    const DWORD process = quorlen.Id();
    ASSERT_TRUE(mode->Set(true));
    BroadcastColourSetChange();
    EXPECT_TRUE(WaitForBars(false));
    EXPECT_EQ(quorlen.Id(), process);
    EXPECT_TRUE(IsWindow(window)) << "the switch made a new window rather than repaint this one";

    ASSERT_TRUE(mode->Set(false));
    BroadcastColourSetChange();
    EXPECT_TRUE(WaitForBars(true)) << "switching back to dark";
}

class DarkChoiceTest : public AppearanceTest {
protected:
    void PrepareConfig() override {
        systemLight = true;
        appearance = 2;
        AppearanceTest::PrepareConfig();
    }
};

TEST_F(DarkChoiceTest, DarkChosenInTheSettingsOverridesALightSystemMenusIncluded) {
    EXPECT_TRUE(WaitForBars(true));
    // A change of the system's mode changes nothing while the choice stands.
    BroadcastColourSetChange();
    EXPECT_TRUE(WaitForBars(true));

    const HWND strip = GetDlgItem(window, kTabStripId);
    ASSERT_TRUE(ClickOn(strip, TabCentre(strip, 0, 1), MOUSEEVENTF_RIGHTDOWN));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = ShownMenu()) != nullptr; }, 10000)) << "the tab menu did not open";
    EXPECT_TRUE(WaitUntil(
        [&] {
            const int light = Painted(menu) ? LightPixelPercent(ScreenRectOf(menu)) : -1;
            return light >= 0 && light <= 25;
        },
        10000))
        << "the tab menu is not dark";
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([] { return ShownMenu() == nullptr; }, 10000)) << "the tab menu stayed open";
}

}  // namespace
