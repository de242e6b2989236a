#include "ui/glyph_icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "chrome_glyphs.h"
#include "common/bitmap_pixels.h"
#include "ui/fonts.h"
#include "ui/handles.h"

namespace {

// Sum of alpha over the columns [left, right) and rows [top, bottom).
long InkIn(const PixelImage& image, int left, int top, int right, int bottom) {
    long ink = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) ink += image.At(x, y).rgbReserved;
    }
    return ink;
}

long Ink(const PixelImage& image) { return InkIn(image, 0, 0, image.width, image.height); }

int CountAlpha(const PixelImage& image, bool (*wanted)(int alpha)) {
    return static_cast<int>(std::count_if(image.pixels.begin(), image.pixels.end(),
                                          [wanted](const RGBQUAD& pixel) { return wanted(pixel.rgbReserved); }));
}

// The colour bitmap of an icon: premultiplied pixels.
PixelImage ReadIcon(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    UniqueBitmap colour(info.hbmColor);
    UniqueBitmap mask(info.hbmMask);
    return ReadBitmapPixels(colour.get());
}

PixelImage DrawnPixels(wchar_t codePoint, int size, int weight = 900, COLORREF colour = RGB(0, 0, 0)) {
    UniqueIcon icon(DrawnGlyphIcon(codePoint, size, colour, weight));
    return ReadIcon(icon.get());
}

bool Clear(int alpha) { return alpha == 0; }
bool Solid(int alpha) { return alpha >= 240; }
bool Partial(int alpha) { return alpha > 0 && alpha < 255; }

std::string Describe(const ChromeGlyph& entry) {
    return std::string(entry.name) + " at " + std::to_string(entry.size) + " px, weight " +
           std::to_string(entry.weight);
}

TEST(GlyphIcon, EveryChromeGlyphGivesAnIconWhateverFontsAreInstalled) {
    for (const ChromeGlyph& entry : kChromeGlyphs) {
        SCOPED_TRACE(Describe(entry));
        UniqueIcon icon(GlyphIcon(entry.codePoint, entry.size, entry.colour, kIconFontFace, entry.weight));
        const PixelImage read = ReadIcon(icon.get());
        ASSERT_GT(read.width, 0);
        EXPECT_GE(read.width, entry.size & ~1);
        EXPECT_GE(read.height, entry.size & ~1);
        EXPECT_GT(CountAlpha(read, Clear), 0);
        EXPECT_GT(CountAlpha(read, Solid), 0);
    }
}

// A face that is not installed must not reach the font mapper, which would draw
// some text font's empty box instead of the glyph.
TEST(GlyphIcon, MissingFaceIsTreatedAsNoFace) {
    const bool iconFontInstalled = FontInstalled(L"Segoe Fluent Icons") || FontInstalled(L"Segoe MDL2 Assets");
    for (wchar_t codePoint : {glyph::kBack, glyph::kSettings}) {
        UniqueIcon missing(GlyphIcon(codePoint, 28, RGB(0, 0, 0), L"Quorlen No Such Icon Font", 900));
        UniqueIcon expected(iconFontInstalled ? GlyphIcon(codePoint, 28, RGB(0, 0, 0), L"", 900)
                                              : DrawnGlyphIcon(codePoint, 28, RGB(0, 0, 0), 900));
        const PixelImage got = ReadIcon(missing.get());
        const PixelImage want = ReadIcon(expected.get());
        ASSERT_GT(want.width, 0);
        EXPECT_EQ(got.width, want.width);
        EXPECT_EQ(got.height, want.height);
        EXPECT_TRUE(got.pixels.size() == want.pixels.size() &&
                    std::equal(got.pixels.begin(), got.pixels.end(), want.pixels.begin(), SamePixel));
    }
}

TEST(GlyphIcon, NoIconForSizeZeroOrLessOrACodePointWithoutDrawing) {
    for (int size : {0, -1, -28}) {
        EXPECT_EQ(GlyphIcon(glyph::kBack, size, RGB(0, 0, 0), kIconFontFace, 900), nullptr) << size;
        EXPECT_EQ(DrawnGlyphIcon(glyph::kBack, size, RGB(0, 0, 0), 900), nullptr) << size;
    }
    for (wchar_t unknown : {L'A', wchar_t{0xE700 + 1}, wchar_t{0}}) {
        EXPECT_EQ(DrawnGlyphIcon(unknown, 28, RGB(0, 0, 0), 900), nullptr) << static_cast<int>(unknown);
    }
}

TEST(DrawnGlyphIcon, EveryChromeGlyphIsSquareWithInkInsideAClearBorder) {
    for (const ChromeGlyph& entry : kChromeGlyphs) {
        SCOPED_TRACE(Describe(entry));
        const PixelImage read = DrawnPixels(entry.codePoint, entry.size, entry.weight, entry.colour);
        ASSERT_EQ(read.width, entry.size & ~1);
        ASSERT_EQ(read.height, entry.size & ~1);
        EXPECT_GT(CountAlpha(read, Solid), 0);
        EXPECT_GT(CountAlpha(read, Partial), 0) << "edges are anti-aliased";
        const int edge = read.width - 1;
        const long border = InkIn(read, 0, 0, read.width, 1) + InkIn(read, 0, edge, read.width, read.width) +
                            InkIn(read, 0, 0, 1, read.height) + InkIn(read, edge, 0, read.width, read.height);
        EXPECT_EQ(border, 0) << "the outermost pixels stay clear";
    }
}

TEST(DrawnGlyphIcon, ColourIsPremultipliedByCoverage) {
    const PixelImage star = DrawnPixels(glyph::kStar, 32, 900, RGB(255, 185, 0));
    ASSERT_GT(star.width, 0);
    int opaque = 0, partial = 0;
    for (const RGBQUAD& pixel : star.pixels) {
        const int alpha = pixel.rgbReserved;
        if (alpha == 255) {
            ++opaque;
            EXPECT_EQ(pixel.rgbRed, 255);
            EXPECT_EQ(pixel.rgbGreen, 185);
            EXPECT_EQ(pixel.rgbBlue, 0);
        } else if (alpha > 0) {
            ++partial;
            EXPECT_EQ(pixel.rgbRed, alpha);
            EXPECT_LE(std::abs(pixel.rgbGreen - 185 * alpha / 255), 1);
            EXPECT_EQ(pixel.rgbBlue, 0);
        } else {
            EXPECT_EQ(pixel.rgbRed + pixel.rgbGreen + pixel.rgbBlue, 0);
        }
    }
    EXPECT_GT(opaque, 0);
    EXPECT_GT(partial, 0);
}

TEST(DrawnGlyphIcon, ArrowsCarryTheirHeadTheWayTheyPoint) {
    const PixelImage back = DrawnPixels(glyph::kBack, 28);
    const PixelImage forward = DrawnPixels(glyph::kForward, 28);
    const PixelImage up = DrawnPixels(glyph::kUp, 28);
    ASSERT_EQ(back.width, 28);
    ASSERT_EQ(forward.width, 28);
    ASSERT_EQ(up.width, 28);
    const int third = 28 / 3;
    EXPECT_GT(InkIn(back, 0, 0, third, 28), 2 * InkIn(back, 28 - third, 0, 28, 28));
    EXPECT_GT(InkIn(forward, 28 - third, 0, 28, 28), 2 * InkIn(forward, 0, 0, third, 28));
    EXPECT_GT(InkIn(up, 0, 0, 28, third), 2 * InkIn(up, 0, 28 - third, 28, 28));
    // Each is a line arrow across most of the icon, not a head alone.
    EXPECT_GT(InkIn(back, 28 - third, 0, 28, 28), 0);
    EXPECT_GT(InkIn(up, 0, 28 - third, 28, 28), 0);
}

TEST(DrawnGlyphIcon, MinimiseIsAThinBandAndMaximiseIsHollow) {
    const PixelImage minimise = DrawnPixels(glyph::kMinimize, 32);
    ASSERT_EQ(minimise.width, 32);
    int inkedRows = 0, widest = 0;
    for (int y = 0; y < minimise.height; ++y) {
        int inked = 0;
        for (int x = 0; x < minimise.width; ++x) inked += minimise.At(x, y).rgbReserved > 0 ? 1 : 0;
        if (inked > 0) ++inkedRows;
        widest = std::max(widest, inked);
    }
    EXPECT_GE(inkedRows, 2);
    EXPECT_LE(inkedRows, 32 / 5);
    EXPECT_GE(widest, 32 * 3 / 4);

    const PixelImage maximise = DrawnPixels(glyph::kMaximize, 32);
    ASSERT_EQ(maximise.width, 32);
    EXPECT_EQ(InkIn(maximise, 8, 8, 24, 24), 0);
    EXPECT_GT(InkIn(maximise, 0, 0, 32, 8), 0);
    EXPECT_GT(InkIn(maximise, 0, 24, 32, 32), 0);
    EXPECT_GT(InkIn(maximise, 0, 0, 8, 32), 0);
    EXPECT_GT(InkIn(maximise, 24, 0, 32, 32), 0);
}

TEST(DrawnGlyphIcon, HeavierWeightDrawsHeavierStrokes) {
    for (auto [codePoint, size] : {std::pair{glyph::kBack, 28}, std::pair{glyph::kRefresh, 32},
                                   std::pair{glyph::kStar, 16}}) {
        const long heavy = Ink(DrawnPixels(codePoint, size, 900));
        const long light = Ink(DrawnPixels(codePoint, size, 400));
        EXPECT_GT(light, 0) << static_cast<int>(codePoint);
        EXPECT_GT(heavy, light + light / 5) << static_cast<int>(codePoint);
    }
}

}  // namespace
