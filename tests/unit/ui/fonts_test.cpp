#include "ui/fonts.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "common/private_prefix.h"
#include "ui/handles.h"

namespace {

TEST(ScaledFontHeight, ScalesCharacterAndCellHeightsAndMakesBoldOneUnitLarger) {
    EXPECT_EQ(ScaledFontHeight(-12, 96, false), -12);
    EXPECT_EQ(ScaledFontHeight(-12, 96, true), -13);
    EXPECT_EQ(ScaledFontHeight(-12, 192, false), -24);
    EXPECT_EQ(ScaledFontHeight(-12, 144, true), -20);
    EXPECT_EQ(ScaledFontHeight(15, 144, false), 23);
    EXPECT_EQ(ScaledFontHeight(15, 96, true), 16);
}

TEST(UiFont, OneFontPerDpiAndWeight) {
    EXPECT_EQ(UiFont(0), UiFont(static_cast<int>(GetDpiForSystem())));
    EXPECT_EQ(UiFont(144), UiFont(144));
    EXPECT_NE(UiFont(144), UiFont(96));
    EXPECT_NE(UiFontBold(96), UiFont(96));

    LOGFONTW normal{};
    LOGFONTW bold{};
    ASSERT_NE(GetObjectW(UiFont(192), sizeof(normal), &normal), 0);
    ASSERT_NE(GetObjectW(UiFontBold(192), sizeof(bold), &bold), 0);
    EXPECT_EQ(normal.lfWeight, FW_NORMAL);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_LT(bold.lfHeight, normal.lfHeight);
}

int CALLBACK TakeFirstFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM found) {
    // Vertical variants ("@name") are not families of their own.
    if (font->lfFaceName[0] == L'@') return 1;
    *reinterpret_cast<std::wstring*>(found) = font->lfFaceName;
    return 0;
}

// Some family this system has, whatever its fonts are.
std::wstring AnyInstalledFamily() {
    std::wstring found;
    HDC screen = GetDC(nullptr);
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(screen, &all, TakeFirstFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

TEST(FontInstalled, KnowsAnInstalledFamilyFromAMadeUpOne) {
    const std::wstring installed = AnyInstalledFamily();
    ASSERT_FALSE(installed.empty());
    EXPECT_TRUE(FontInstalled(installed));
    EXPECT_FALSE(FontInstalled(L"No Such Font Family 7c1d"));
}

// Sets the user's icon-title font for one test and puts the old value back.
class IconFontValue : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop\\WindowMetrics", 0, nullptr, 0,
                                  KEY_READ | KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), L"IconFont", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
            saved.emplace(size);
            RegQueryValueExW(key.get(), L"IconFont", nullptr, nullptr, saved->data(), &size);
        }
    }
    void TearDown() override {
        if (!key) return;
        if (saved) {
            RegSetValueExW(key.get(), L"IconFont", 0, REG_BINARY, saved->data(), static_cast<DWORD>(saved->size()));
        } else {
            RegDeleteValueW(key.get(), L"IconFont");
        }
    }

    void Store(const LOGFONTW& font, DWORD bytes) {
        ASSERT_EQ(RegSetValueExW(key.get(), L"IconFont", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&font), bytes),
                  ERROR_SUCCESS);
    }

    static std::wstring Fallback() { return FontInstalled(L"Microsoft YaHei UI") ? L"Microsoft YaHei UI" : L"SimSun"; }

    UniqueKey key;
    std::optional<std::vector<BYTE>> saved;
};

TEST_F(IconFontValue, TheUsersInstalledFaceAndHeightAreTaken) {
    const std::wstring installed = AnyInstalledFamily();
    ASSERT_FALSE(installed.empty());
    LOGFONTW font{};
    font.lfHeight = -15;
    installed.copy(font.lfFaceName, LF_FACESIZE - 1);
    Store(font, sizeof(font));
    std::wstring face;
    int height = -12;
    IconFontFace(face, height);
    EXPECT_EQ(face, installed);
    EXPECT_EQ(height, -15);
}

TEST_F(IconFontValue, AMissingOrShortValueOrUnknownFaceFallsBack) {
    LOGFONTW font{};
    font.lfHeight = -20;
    wcscpy_s(font.lfFaceName, AnyInstalledFamily().c_str());
    Store(font, 27);
    std::wstring face;
    int height = -12;
    IconFontFace(face, height);
    EXPECT_EQ(face, Fallback());
    EXPECT_EQ(height, -12);

    wcscpy_s(font.lfFaceName, L"No Such Font Family 7c1d");
    font.lfHeight = 0;
    Store(font, sizeof(font));
    face.clear();
    height = -12;
    IconFontFace(face, height);
    EXPECT_EQ(face, Fallback());
    EXPECT_EQ(height, -12) << "a height of 0 keeps the default";

    RegDeleteValueW(key.get(), L"IconFont");
    face.clear();
    IconFontFace(face, height);
    EXPECT_EQ(face, Fallback());
}

TEST_F(IconFontValue, AFaceNameWithoutTerminatorIsReadNoFurtherThanTheValue) {
    LOGFONTW font{};
    font.lfHeight = -14;
    std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'W');
    Store(font, sizeof(font));
    std::wstring face;
    int height = -12;
    IconFontFace(face, height);
    EXPECT_EQ(face, Fallback());
    EXPECT_EQ(height, -14);
}

}  // namespace
