// Lays out every drawn glyph as the chrome shows it, for a person to judge by eye:
// build/screenshots/glyphs.png after a test run.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>

#include "common/png_file.h"
#include "common/screenshot.h"
#include "chrome_glyphs.h"
#include "ui/glyph_icon.h"
#include "ui/handles.h"

namespace {

// The sizes at which the chrome draws its 24 to 32 px glyph icons.
constexpr int kDrawnSizes[] = {11, 14, 16, 17};
constexpr int kLabelWidth = 150;
constexpr int kRenderedCell = 60;
constexpr int kDrawnCell = 28;
constexpr int kRowHeight = 40;

void Label(HDC dc, int x, int y, const std::string& text) {
    const std::wstring wide(text.begin(), text.end());
    TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

// One row per glyph: its name, the icon at the size it is rendered at, and the
// icon shrunk by DrawIconEx to each size the chrome draws it at.
void DrawSheet(HDC dc, int width, int height) {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    Label(dc, 6, 8, "glyph");
    Label(dc, kLabelWidth, 8, "rendered");
    for (int column = 0; column < static_cast<int>(std::size(kDrawnSizes)); ++column) {
        Label(dc, kLabelWidth + kRenderedCell + column * kDrawnCell, 8, std::to_string(kDrawnSizes[column]));
    }
    int top = kRowHeight;
    for (const ChromeGlyph& entry : kChromeGlyphs) {
        UniqueIcon icon(DrawnGlyphIcon(entry.codePoint, entry.size, entry.colour, entry.weight));
        char codePoint[8];
        snprintf(codePoint, sizeof(codePoint), "%04X", static_cast<unsigned>(entry.codePoint));
        Label(dc, 6, top + 4, std::string(codePoint) + " " + entry.name);
        Label(dc, 6, top + 20, std::to_string(entry.size) + " px, weight " + std::to_string(entry.weight));
        DrawIconEx(dc, kLabelWidth, top + (kRowHeight - entry.size) / 2, icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
        int left = kLabelWidth + kRenderedCell;
        for (int size : kDrawnSizes) {
            DrawIconEx(dc, left, top + (kRowHeight - size) / 2, icon.get(), size, size, 0, nullptr, DI_NORMAL);
            left += kDrawnCell;
        }
        top += kRowHeight;
    }
}

TEST(GlyphReviewSheet, IsWrittenToTheScreenshotFolder) {
    const std::filesystem::path folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty());
    const int width = kLabelWidth + kRenderedCell + static_cast<int>(std::size(kDrawnSizes)) * kDrawnCell;
    const int height = kRowHeight * (1 + static_cast<int>(std::size(kChromeGlyphs)));

    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    UniqueBitmap sheet(CreateCompatibleBitmap(screen, width, height));
    UniqueMemoryDc memory(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(sheet && memory);
    {
        SelectedObject selected(memory.get(), sheet.get());
        DrawSheet(memory.get(), width, height);
    }
    const std::filesystem::path file = folder / L"glyphs.png";
    EXPECT_TRUE(SaveBitmapAsPng(sheet.get(), file.wstring()));
}

}  // namespace
