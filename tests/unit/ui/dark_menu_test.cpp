#include "ui/dark_menu.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/dark_mode.h"
#include "ui/handles.h"
#include "ui/palette.h"

namespace {

// With a submenu whose keys repeat the menu's, as the tab menu's colours do.
UniqueMenu TabLikeMenu() {
    UniqueMenu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 1, L"新建标签页(&N)");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, 2, L"A && B(&P)");
    HMENU colours = CreatePopupMenu();
    AppendMenuW(colours, MF_STRING, 100, L"无颜色(&N)");
    AppendMenuW(colours, MF_STRING, 101, L"红色(&R)");
    AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(colours), L"标签颜色(&L)");
    return menu;
}

bool OwnerDrawn(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, position, TRUE, &info) && (info.fType & MFT_OWNERDRAW) != 0;
}

// Where the system would draw menus light under a dark chrome, the owner draws
// them: each item keeps its text for screen readers, and its access key still
// chooses it. In the light palette a menu is left to the system.
TEST(DarkMenu, TheOwnerDrawsItemsThatKeepTheirTextAndAccessKeysOnlyInDark) {
    RefreshPalette(AppearanceChoice::Dark);
    if (SystemDrawsDarkMenus()) {
        RefreshPalette(AppearanceChoice::FollowSystem);
        GTEST_SKIP() << "this system draws dark menus itself";
    }
    const UniqueMenu menu = TabLikeMenu();
    DrawMenuInPalette(menu.get());
    EXPECT_TRUE(OwnerDrawn(menu.get(), 0));
    EXPECT_TRUE(OwnerDrawn(menu.get(), 2));
    wchar_t text[64] = {};
    GetMenuStringW(menu.get(), 2, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"A && B(&P)");

    const auto key = [&](wchar_t letter) {
        return AnswerMenuItemDrawing(WM_MENUCHAR, MAKEWPARAM(letter, MF_POPUP), reinterpret_cast<LPARAM>(menu.get()),
                                     96);
    };
    EXPECT_EQ(key(L'n'), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(key(L'P'), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(key(L'B'), std::nullopt) << "\"&&\" is an ampersand, not an access key";
    EXPECT_EQ(key(L'r'), std::nullopt) << "a submenu's key answered in its menu";
    const HMENU colours = GetSubMenu(menu.get(), 3);
    EXPECT_TRUE(OwnerDrawn(colours, 1)) << "the submenu was left to the system";
    EXPECT_EQ(AnswerMenuItemDrawing(WM_MENUCHAR, MAKEWPARAM(L'n', MF_POPUP), reinterpret_cast<LPARAM>(colours), 96),
              MAKELRESULT(0, MNC_EXECUTE));
    const UniqueMenu other(CreatePopupMenu());
    EXPECT_EQ(AnswerMenuItemDrawing(WM_MENUCHAR, MAKEWPARAM(L'n', MF_POPUP), reinterpret_cast<LPARAM>(other.get()), 96),
              std::nullopt)
        << "a menu prepared by no one";

    RefreshPalette(AppearanceChoice::Light);
    const UniqueMenu light = TabLikeMenu();
    DrawMenuInPalette(light.get());
    EXPECT_FALSE(OwnerDrawn(light.get(), 0));
    RefreshPalette(AppearanceChoice::FollowSystem);
}

}  // namespace
