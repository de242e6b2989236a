#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/png_file.h"
#include "common/private_prefix.h"
#include "common/screenshot.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "tabstrip/tab_strip_messages.h"

namespace {

// Left edges of the strip's buttons, and each button's width in DIPs.
struct StripButton {
    const char* name;
    UINT leftQuery;
    int widthDip;
};
constexpr StripButton kButtons[] = {
    {"plus", kTabStripPlusLeftMessage, 21},
    {"star", kTabStripStarLeftMessage, 20},
    {"settings", kTabStripSettingsLeftMessage, 24},
    {"folder options", kTabStripFolderOptionsLeftMessage, 24},
    {"minimise", kTabStripMinimizeLeftMessage, 24},
    {"maximise", kTabStripMaximizeLeftMessage, 24},
    {"close", kTabStripCloseLeftMessage, 24},
};

// Sets the system DPI that programs started afterwards see, and puts the old one back.
class SystemDpi {
public:
    explicit SystemDpi(DWORD dpi) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_SET_VALUE,
                            nullptr, key_.put(), nullptr) != ERROR_SUCCESS) {
            return;
        }
        DWORD old = 0;
        DWORD size = sizeof(old);
        if (RegQueryValueExW(key_.get(), L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old), &size) ==
            ERROR_SUCCESS) {
            saved_ = old;
        }
        RegSetValueExW(key_.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    }
    ~SystemDpi() {
        if (!key_) return;
        if (saved_) {
            RegSetValueExW(key_.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*saved_),
                           sizeof(DWORD));
        } else {
            RegDeleteValueW(key_.get(), L"LogPixels");
        }
    }

private:
    UniqueKey key_;
    std::optional<DWORD> saved_;
};

struct Pixels {
    std::vector<COLORREF> colours;
    int width = 0;
    int height = 0;
    COLORREF At(int x, int y) const { return colours[static_cast<size_t>(y) * width + x]; }
};

Pixels ReadPixels(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    Pixels pixels;
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    std::vector<RGBQUAD> raw(static_cast<size_t>(pixels.width) * pixels.height);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = pixels.width;
    format.bmiHeader.biHeight = -pixels.height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(pixels.height), raw.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (const RGBQUAD& quad : raw) pixels.colours.push_back(RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue));
    return pixels;
}

// Three tabs, one of them with a title far longer than a tab, shown for a person
// to judge and checked for the parts that must be there.
class TabStripScreenshot : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        ASSERT_TRUE(install.Ready());
        for (const wchar_t* name : {L"项目资料", L"季度财务报告 Quarterly Financial Reports and Planning 2026", L"Music"}) {
            folders.push_back((data.Path() / name).wstring());
            std::filesystem::create_directories(folders.back());
        }
        // With trailing backslashes, which the program drops once a shown tab has arrived.
        std::vector<std::wstring> saved = folders;
        for (std::wstring& path : saved) path += L"\\";
        ASSERT_TRUE(WriteConfigLines(install, L"tabs.txt", saved));
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt",
                                     {L"ActiveTab=0", L"WindowX=0", L"WindowY=0", L"WindowWidth=1000",
                                      L"WindowHeight=640"}));
    }

    TempFolder data;
    QuorlenInstall install;
    QuorlenProcess quorlen;
    std::vector<std::wstring> folders;
};

TEST_P(TabStripScreenshot, ShowsEveryButtonAndTheActiveTabsAccent) {
    const int dpi = GetParam();
    HWND window = nullptr;
    {
        SystemDpi systemDpi(static_cast<DWORD>(dpi));
        ASSERT_TRUE(quorlen.Start(install));
        window = quorlen.WaitForMainWindow();
    }
    ASSERT_NE(window, nullptr);
    HWND strip = GetDlgItem(window, 7);
    ASSERT_NE(strip, nullptr);
    ASSERT_TRUE(WaitUntil(
        [&] {
            LRESULT count = 0;
            return SendWithTimeout(strip, kTabStripCountMessage, 0, 0, count) && count == 3;
        },
        20000));
    // The restore is over once the program has saved the active tab its own way.
    ASSERT_TRUE(WaitUntil(
        [&] {
            const std::vector<std::wstring> saved = ReadConfigLines(install, L"tabs.txt");
            return saved.size() == 3 && saved.front().back() != L'\\';
        },
        20000));
    // The picture is taken once the strip and the frame have painted what they
    // were asked to, and the strip has answered since, so that no paint is
    // still under way.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    ASSERT_TRUE(WaitUntil(
        [&] {
            LRESULT count = 0;
            return Painted(window) && Painted(strip) && SendWithTimeout(strip, kTabStripCountMessage, 0, 0, count);
        },
        10000))
        << "the strip never painted";

    RECT windowRect{};
    GetWindowRect(window, &windowRect);
    UniqueBitmap shot = CaptureScreenRect(windowRect);
    ASSERT_TRUE(shot);
    const std::filesystem::path file = ScreenshotFolder() / (L"tab-strip-" + std::to_wstring(dpi) + L"dpi.png");
    EXPECT_TRUE(SaveBitmapAsPng(shot.get(), file.wstring())) << NarrowForTest(file.wstring());

    RECT stripRect{};
    GetWindowRect(strip, &stripRect);
    EXPECT_EQ(stripRect.bottom - stripRect.top, MulDiv(27, dpi, 96)) << "three tabs fit in one row";

    const Pixels pixels = ReadPixels(shot.get());
    const int left = stripRect.left - windowRect.left;
    const int top = stripRect.top - windowRect.top;
    // The accent bar along the top of the active first tab.
    EXPECT_EQ(pixels.At(left + MulDiv(2, dpi, 96) + 30, top + 2), GetSysColor(COLOR_HIGHLIGHT));

    // Every button shows something besides its background.
    const int stripHeight = stripRect.bottom - stripRect.top;
    for (const StripButton& button : kButtons) {
        LRESULT buttonLeft = 0;
        ASSERT_TRUE(SendWithTimeout(strip, button.leftQuery, 0, 0, buttonLeft));
        int inked = 0;
        // Inside any outline the button may have.
        const int margin = MulDiv(5, dpi, 96);
        for (int y = top + margin; y < top + stripHeight - margin; ++y) {
            for (int x = left + static_cast<int>(buttonLeft) + margin;
                 x < left + static_cast<int>(buttonLeft) + MulDiv(button.widthDip, dpi, 96) - margin; ++x) {
                if (pixels.At(x, y) != GetSysColor(COLOR_BTNFACE)) ++inked;
            }
        }
        EXPECT_GT(inked, 6) << "the " << button.name << " button is blank";
    }
    quorlen.Kill();
}

INSTANTIATE_TEST_SUITE_P(Dpi, TabStripScreenshot, testing::Values(96, 144));

}  // namespace
