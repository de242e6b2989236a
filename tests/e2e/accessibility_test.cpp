#include <windows.h>
#include <oleacc.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/png_file.h"
#include "common/private_prefix.h"
#include "common/screenshot.h"
#include "driver/desktop_input.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "tabs_fixture.h"
#include "tabstrip/tab_strip_messages.h"

// What a screen reader sees of the running program, read from this process
// through MSAA as one would read it, and the keys that take the focus round.

namespace {

constexpr int kCommandBarId = 1;
constexpr int kFavBarId = 11;
constexpr int kBackButtonId = 4001;
constexpr int kAddressEditId = 4009;
constexpr int kSearchBoxId = 4013;
constexpr long kTabButtons = 7;

VARIANT ChildId(long id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

ComPtr<IAccessible> ClientObject(HWND window) {
    ComPtr<IAccessible> object;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(object.put())))) {
        object.reset();
    }
    return object;
}

std::wstring Take(BSTR text) {
    if (!text) return {};
    std::wstring taken(text, SysStringLen(text));
    SysFreeString(text);
    return taken;
}

std::wstring NameOf(IAccessible* object, long id) {
    BSTR name = nullptr;
    return SUCCEEDED(object->get_accName(ChildId(id), &name)) ? Take(name) : L"<failed>";
}

std::wstring DescriptionOf(IAccessible* object, long id) {
    BSTR text = nullptr;
    return SUCCEEDED(object->get_accDescription(ChildId(id), &text)) ? Take(text) : L"<failed>";
}

std::wstring ValueOf(IAccessible* object, long id) {
    BSTR text = nullptr;
    return SUCCEEDED(object->get_accValue(ChildId(id), &text)) ? Take(text) : L"<failed>";
}

long NumberOf(HRESULT result, const VARIANT& answer) {
    return SUCCEEDED(result) && answer.vt == VT_I4 ? answer.lVal : -1;
}

long RoleOf(IAccessible* object, long id) {
    VARIANT role;
    VariantInit(&role);
    return NumberOf(object->get_accRole(ChildId(id), &role), role);
}

long StateOf(IAccessible* object, long id) {
    VARIANT state;
    VariantInit(&state);
    return NumberOf(object->get_accState(ChildId(id), &state), state);
}

long ChildCount(IAccessible* object) {
    long count = -1;
    return SUCCEEDED(object->get_accChildCount(&count)) ? count : -1;
}

bool Selected(IAccessible* object, long id) { return (StateOf(object, id) & STATE_SYSTEM_SELECTED) != 0; }

// The three saved tabs, the first active, and two of their folders as favourites on a shown bar.
class AccessibilityTest : public SavedTabsTest {
protected:
    void PrepareConfig() override {
        SavedTabsTest::PrepareConfig();
        ASSERT_TRUE(WriteConfigLines(install, L"settings.txt", {L"FavBarVisible=1"}));
        ASSERT_TRUE(WriteConfigLines(install, L"favorites.txt", {folders[0], folders[2]}));
    }

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        comStarted = true;
        SavedTabsTest::SetUp();
        if (HasFatalFailure()) return;
        commandBar = GetDlgItem(window, kCommandBarId);
        ASSERT_NE(commandBar, nullptr);
    }

    void TearDown() override {
        if (comStarted) CoUninitialize();
    }

    bool WaitForActiveTab(LRESULT index) {
        return WaitUntil([&] { return Query(strip, kActiveTab) == index; }, kInputStepMs);
    }

    bool WaitForFocus(HWND expected) {
        return WaitUntil([&] { return FocusOf(window) == expected; }, kInputStepMs);
    }

    bool comStarted = false;
    HWND commandBar = nullptr;
};

TEST_F(AccessibilityTest, TheStripListsItsTabsAndButtonsAndItsSelectionFollowsTheActiveTab) {
    const ComPtr<IAccessible> list = ClientObject(strip);
    ASSERT_TRUE(list) << "the strip gave no accessible object";
    EXPECT_EQ(RoleOf(list.get(), CHILDID_SELF), ROLE_SYSTEM_PAGETABLIST);
    ASSERT_EQ(ChildCount(list.get()), 3 + kTabButtons);

    const wchar_t* titles[] = {L"alpha", L"beta", L"资料"};
    for (long id = 1; id <= 3; ++id) {
        EXPECT_EQ(RoleOf(list.get(), id), ROLE_SYSTEM_PAGETAB) << "tab " << id;
        EXPECT_EQ(NameOf(list.get(), id), titles[id - 1]) << "tab " << id;
        EXPECT_TRUE(SamePaths({DescriptionOf(list.get(), id)}, {folders[static_cast<size_t>(id - 1)]}))
            << "tab " << id << " described as " << NarrowForTest(DescriptionOf(list.get(), id));
        EXPECT_EQ(Selected(list.get(), id), id == 1) << "tab " << id;
    }
    const wchar_t* buttons[] = {L"新建标签页", L"收藏夹", L"设置",  L"文件夹选项",
                                L"最小化",     L"最大化", L"关闭"};
    for (long i = 0; i < kTabButtons; ++i) {
        EXPECT_EQ(RoleOf(list.get(), 4 + i), ROLE_SYSTEM_PUSHBUTTON) << "button " << i;
        EXPECT_EQ(NameOf(list.get(), 4 + i), buttons[i]) << "button " << i;
    }

    // The second tab where the screen shows it, found again by its place.
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(list->accLocation(&left, &top, &width, &height, ChildId(2)), S_OK);
    RECT stripBounds{};
    GetWindowRect(strip, &stripBounds);
    EXPECT_TRUE(width > 0 && height > 0 && left >= stripBounds.left && top >= stripBounds.top &&
                left + width <= stripBounds.right && top + height <= stripBounds.bottom);
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(list->accHitTest(left + width / 2, top + height / 2, &hit), S_OK);
    EXPECT_EQ(NumberOf(S_OK, hit), 2);
    VARIANT next;
    VariantInit(&next);
    ASSERT_EQ(list->accNavigate(NAVDIR_NEXT, ChildId(1), &next), S_OK);
    EXPECT_EQ(NumberOf(S_OK, next), 2);

    // Its default action selects it, and the tree follows.
    ASSERT_EQ(list->accDoDefaultAction(ChildId(2)), S_OK);
    ASSERT_TRUE(WaitForActiveTab(1)) << "the second tab's default action did not select it";
    EXPECT_TRUE(WaitUntil([&] { return Selected(list.get(), 2) && !Selected(list.get(), 1); }, 5000));
    VARIANT selection;
    VariantInit(&selection);
    EXPECT_EQ(list->get_accSelection(&selection), S_OK);
    EXPECT_EQ(NumberOf(S_OK, selection), 2);
    EXPECT_EQ(NameOf(list.get(), CHILDID_SELF), L"beta");

    // A tab closed is a child gone.
    ASSERT_NE(Query(strip, kCloseTab, 2), -1);
    ASSERT_TRUE(WaitForTabCount(2));
    EXPECT_TRUE(WaitUntil([&] { return ChildCount(list.get()) == 2 + kTabButtons; }, 5000));
    EXPECT_EQ(NameOf(list.get(), 3), L"新建标签页");
}

TEST_F(AccessibilityTest, TheCommandBarAndTheFavouritesBarNameWhatTheyDraw) {
    const ComPtr<IAccessible> back = ClientObject(GetDlgItem(commandBar, kBackButtonId));
    ASSERT_TRUE(back);
    EXPECT_EQ(NameOf(back.get(), CHILDID_SELF), L"后退");
    const ComPtr<IAccessible> search = ClientObject(GetDlgItem(commandBar, kSearchBoxId));
    ASSERT_TRUE(search);
    EXPECT_EQ(NameOf(search.get(), CHILDID_SELF), L"搜索");

    // The address is a child of the bar with the path as its value.
    const ComPtr<IAccessible> bar = ClientObject(commandBar);
    ASSERT_TRUE(bar);
    const long addressId = 7;
    EXPECT_EQ(NameOf(bar.get(), 1), L"后退");
    EXPECT_EQ(NameOf(bar.get(), addressId), L"地址");
    ComPtr<IDispatch> addressDispatch;
    ASSERT_EQ(bar->get_accChild(ChildId(addressId), addressDispatch.put()), S_OK);
    ComPtr<IAccessible> address;
    ASSERT_TRUE(addressDispatch && SUCCEEDED(addressDispatch.As(address)));
    EXPECT_TRUE(SamePaths({ValueOf(address.get(), CHILDID_SELF)}, {folders[0]}))
        << NarrowForTest(ValueOf(address.get(), CHILDID_SELF));
    const long segments = ChildCount(address.get());
    ASSERT_GE(segments, 2);
    EXPECT_EQ(RoleOf(address.get(), segments), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(NameOf(address.get(), segments), L"alpha");

    const ComPtr<IAccessible> favourites = ClientObject(GetDlgItem(window, kFavBarId));
    ASSERT_TRUE(favourites);
    EXPECT_EQ(RoleOf(favourites.get(), CHILDID_SELF), ROLE_SYSTEM_TOOLBAR);
    ASSERT_EQ(ChildCount(favourites.get()), 2);
    EXPECT_EQ(RoleOf(favourites.get(), 1), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(NameOf(favourites.get(), 1), L"alpha");
    EXPECT_EQ(NameOf(favourites.get(), 2), L"资料");
}

TEST_F(AccessibilityTest, F6TakesTheFocusRoundTheWindowAndTheStripTakesArrowsAndEnter) {
    const HWND addressEdit = GetDlgItem(commandBar, kAddressEditId);
    const HWND searchBox = GetDlgItem(commandBar, kSearchBoxId);
    const HWND tree = ShownPanelDescendant(window, L"SysTreeView32");
    ASSERT_NE(tree, nullptr) << "no navigation tree";
    ASSERT_TRUE(TakeKeyboard()) << "the window never took the keyboard";

    const std::array<HWND, 4> ring = {strip, addressEdit, searchBox, tree};
    for (HWND expected : ring) {
        Key(VK_F6);
        ASSERT_TRUE(WaitForFocus(expected)) << "F6 left the focus on a " << NarrowForTest(ClassOf(FocusOf(window)));
    }
    // Then the folder view, and round again to the strip.
    Key(VK_F6);
    ASSERT_TRUE(WaitUntil(
        [&] {
            const HWND focus = FocusOf(window);
            return focus && IsChild(window, focus) && focus != tree && focus != strip && ClassOf(focus) != L"Edit";
        },
        kInputStepMs))
        << "F6 from the tree left the focus on a " << NarrowForTest(ClassOf(FocusOf(window)));
    Chord({VK_SHIFT, VK_F6});
    ASSERT_TRUE(WaitForFocus(tree)) << "Shift+F6 from the view did not go back to the tree";
    Key(VK_F6);
    Key(VK_F6);
    ASSERT_TRUE(WaitForFocus(strip)) << "F6 from the view did not come round to the strip";

    // On the strip the arrows move along the tabs and Enter selects.
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    Key(VK_LEFT);
    EXPECT_EQ(Query(strip, kActiveTab), 0) << "an arrow selected a tab by itself";
    Key(VK_RETURN);
    EXPECT_TRUE(WaitForActiveTab(1)) << "Right, Right, Left and Enter did not select the second tab";
}

// Sets a high-contrast black palette for the prefix while it lives, and puts
// the old colours back.
class HighContrastPalette {
public:
    HighContrastPalette() {
        for (int i = 0; i < kColourCount; ++i) {
            indices_[static_cast<size_t>(i)] = i;
            saved_[static_cast<size_t>(i)] = GetSysColor(i);
        }
        const std::vector<std::pair<int, COLORREF>> palette = {
            {COLOR_BTNFACE, RGB(0, 0, 0)},        {COLOR_BTNTEXT, RGB(255, 255, 255)},
            {COLOR_WINDOW, RGB(0, 0, 0)},         {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
            {COLOR_HIGHLIGHT, RGB(26, 235, 255)}, {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
            {COLOR_GRAYTEXT, RGB(63, 242, 63)},   {COLOR_BTNSHADOW, RGB(255, 255, 255)},
            {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)}, {COLOR_3DDKSHADOW, RGB(255, 255, 255)},
            {COLOR_3DLIGHT, RGB(255, 255, 255)},  {COLOR_WINDOWFRAME, RGB(255, 255, 255)},
            {COLOR_MENU, RGB(0, 0, 0)},           {COLOR_MENUTEXT, RGB(255, 255, 255)},
            {COLOR_HOTLIGHT, RGB(255, 255, 0)},
        };
        std::vector<int> which;
        std::vector<COLORREF> colours;
        for (const auto& [index, colour] : palette) {
            which.push_back(index);
            colours.push_back(colour);
        }
        set_ = SetSysColors(static_cast<int>(which.size()), which.data(), colours.data()) != FALSE;
    }
    ~HighContrastPalette() { SetSysColors(kColourCount, indices_.data(), saved_.data()); }
    HighContrastPalette(const HighContrastPalette&) = delete;
    HighContrastPalette& operator=(const HighContrastPalette&) = delete;

    [[nodiscard]] bool Set() const { return set_; }

private:
    static constexpr int kColourCount = COLOR_MENUBAR + 1;
    std::array<int, kColourCount> indices_{};
    std::array<COLORREF, kColourCount> saved_{};
    bool set_ = false;
};

// Wine cannot switch a high-contrast theme on (SPI_SETHIGHCONTRAST fails, and
// SPI_GETHIGHCONTRAST always answers off), so the program is told by its
// variable. Nor does a running program under Wine see colours changed by
// SetSysColors from another process: the palette is set before it starts.
class HighContrastTest : public AccessibilityTest {
protected:
    void PrepareConfig() override {
        AccessibilityTest::PrepareConfig();
        palette.emplace();
        ASSERT_TRUE(palette->Set()) << "SetSysColors failed";
        SetEnvironmentVariableW(L"QUORLEN_HIGH_CONTRAST", L"1");
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"QUORLEN_HIGH_CONTRAST", nullptr);
        palette.reset();
        AccessibilityTest::TearDown();
    }

    std::optional<HighContrastPalette> palette;
};

// The pixels of a screen rectangle.
std::vector<COLORREF> ScreenPixels(const RECT& rect) {
    std::vector<COLORREF> pixels;
    const UniqueBitmap shot = CaptureScreenRect(rect);
    if (!shot) return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(memory, shot.get());
    for (int y = 0; y < rect.bottom - rect.top; ++y) {
        for (int x = 0; x < rect.right - rect.left; ++x) pixels.push_back(GetPixel(memory, x, y));
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool Whitish(COLORREF pixel) { return GetRValue(pixel) > 200 && GetGValue(pixel) > 200 && GetBValue(pixel) > 200; }

TEST_F(HighContrastTest, TheChromeIsDrawnInTheSystemColoursGlyphsIncluded) {
    LRESULT closeLeft = 0;
    ASSERT_TRUE(SendWithTimeout(strip, kTabStripCloseLeftMessage, 0, 0, closeLeft));
    RECT stripBounds{};
    GetWindowRect(strip, &stripBounds);
    // The close glyph on the button face: white on black in this palette; drawn
    // in black, as before, it would not show at all.
    const RECT closeButton{stripBounds.left + static_cast<LONG>(closeLeft), stripBounds.top, stripBounds.right,
                           stripBounds.top + 27};
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (!Painted(window) || !Painted(strip)) return false;
            const std::vector<COLORREF> pixels = ScreenPixels(closeButton);
            if (pixels.empty() || pixels.front() != RGB(0, 0, 0)) return false;
            for (COLORREF pixel : pixels) {
                if (Whitish(pixel)) return true;
            }
            return false;
        },
        kInputStepMs))
        << "the close button is not a light glyph on the black button face";

    RECT frame{};
    GetWindowRect(window, &frame);
    const UniqueBitmap shot = CaptureScreenRect(frame);
    const std::filesystem::path file = ScreenshotFolder() / L"high-contrast-window.png";
    EXPECT_TRUE(shot && SaveBitmapAsPng(shot.get(), file.wstring())) << NarrowForTest(file.wstring());
}

}  // namespace
