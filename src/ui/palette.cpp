#include "ui/palette.h"

#include <array>
#include <cstddef>

#include "ui/handles.h"

namespace {

// Light takes a system colour where lightSystem names one, and its own colour
// otherwise; dark always its own; high contrast always the system's.
constexpr int kOwnColour = -1;

struct InkRow {
    ChromeInk ink;
    int lightSystem;
    COLORREF light;
    COLORREF dark;
    int highContrast;
};

constexpr InkRow Surface(ChromeInk ink, int system, COLORREF dark, int highContrast) {
    return {ink, system, 0, dark, highContrast};
}
constexpr InkRow Mark(ChromeInk ink, COLORREF light, COLORREF dark, int highContrast) {
    return {ink, kOwnColour, light, dark, highContrast};
}

// In the order of ChromeInk.
constexpr InkRow kInks[] = {
    Surface(ChromeInk::Face, COLOR_BTNFACE, RGB(32, 32, 32), COLOR_BTNFACE),
    Surface(ChromeInk::HotFace, COLOR_BTNHIGHLIGHT, RGB(55, 55, 55), COLOR_BTNHIGHLIGHT),
    Surface(ChromeInk::PressedFace, COLOR_BTNSHADOW, RGB(72, 72, 72), COLOR_BTNSHADOW),
    Surface(ChromeInk::Field, COLOR_WINDOW, RGB(45, 45, 45), COLOR_WINDOW),
    Surface(ChromeInk::FieldText, COLOR_WINDOWTEXT, RGB(235, 235, 235), COLOR_WINDOWTEXT),
    Surface(ChromeInk::Outline, COLOR_BTNSHADOW, RGB(70, 70, 70), COLOR_BTNTEXT),
    Surface(ChromeInk::Accent, COLOR_HIGHLIGHT, RGB(76, 160, 230), COLOR_HIGHLIGHT),
    Mark(ChromeInk::ButtonGlyph, RGB(0, 0, 0), RGB(230, 230, 230), COLOR_BTNTEXT),
    Mark(ChromeInk::DisabledGlyph, RGB(160, 160, 160), RGB(100, 100, 100), COLOR_GRAYTEXT),
    Mark(ChromeInk::StarGlyph, RGB(255, 185, 0), RGB(255, 185, 0), COLOR_BTNTEXT),
    Mark(ChromeInk::BarText, RGB(0, 0, 0), RGB(235, 235, 235), COLOR_BTNTEXT),
    Mark(ChromeInk::SelectedText, RGB(0, 0, 0), RGB(255, 255, 255), COLOR_HIGHLIGHTTEXT),
    Mark(ChromeInk::AddressText, RGB(50, 50, 50), RGB(230, 230, 230), COLOR_WINDOWTEXT),
    Mark(ChromeInk::AddressSeparator, RGB(180, 180, 180), RGB(90, 90, 90), COLOR_WINDOWTEXT),
    Mark(ChromeInk::SearchGlyph, RGB(96, 96, 96), RGB(180, 180, 180), COLOR_WINDOWTEXT),
    Mark(ChromeInk::HotClearGlyph, RGB(40, 40, 40), RGB(240, 240, 240), COLOR_HIGHLIGHTTEXT),
    Mark(ChromeInk::HotClearBackground, RGB(240, 240, 240), RGB(70, 70, 70), COLOR_HIGHLIGHT),
    Mark(ChromeInk::PressedClearBackground, RGB(224, 224, 224), RGB(90, 90, 90), COLOR_HIGHLIGHT),
    Mark(ChromeInk::Placeholder, RGB(150, 150, 150), RGB(150, 150, 150), COLOR_GRAYTEXT),
    Mark(ChromeInk::SpinnerLead, RGB(0, 103, 192), RGB(76, 160, 230), COLOR_HIGHLIGHTTEXT),
    Mark(ChromeInk::SpinnerTrail, RGB(173, 214, 244), RGB(45, 80, 115), COLOR_GRAYTEXT),
    Mark(ChromeInk::ListText, RGB(0, 0, 0), RGB(235, 235, 235), COLOR_WINDOWTEXT),
    Mark(ChromeInk::HotListText, RGB(0, 0, 0), RGB(255, 255, 255), COLOR_HIGHLIGHTTEXT),
    Mark(ChromeInk::HotListRow, RGB(233, 242, 252), RGB(50, 70, 95), COLOR_HIGHLIGHT),
};
constexpr size_t kInkCount = std::size(kInks);

constexpr bool InOrder() {
    for (size_t i = 0; i < kInkCount; ++i) {
        if (static_cast<size_t>(kInks[i].ink) != i) return false;
    }
    return true;
}
static_assert(InOrder(), "the ink rows follow ChromeInk");

const InkRow& RowOf(ChromeInk ink) { return kInks[static_cast<size_t>(ink) % kInkCount]; }

// Wine cannot turn a high-contrast theme on: its SPI_SETHIGHCONTRAST is not
// implemented and SPI_GETHIGHCONTRAST always answers off. The tests that look
// at the high-contrast drawing under Wine ask for it with this variable ("1").
constexpr wchar_t kForceHighContrastVariable[] = L"QUORLEN_HIGH_CONTRAST";

bool HighContrastForcedByEnvironment() {
    wchar_t value[2] = {};
    return GetEnvironmentVariableW(kForceHighContrastVariable, value, 2) == 1 && value[0] == L'1';
}

bool SystemHighContrast() {
    HIGHCONTRASTW state{};
    state.cbSize = sizeof(state);
    return (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(state), &state, 0) &&
            (state.dwFlags & HCF_HIGHCONTRASTON) != 0) ||
           HighContrastForcedByEnvironment();
}

}  // namespace

bool SystemAppsUseLight() {
    DWORD light = 1;
    DWORD size = sizeof(light);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                     L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size) != ERROR_SUCCESS) {
        return true;
    }
    return light != 0;
}

namespace {

struct PaletteState {
    bool known = false;
    AppearanceChoice choice = AppearanceChoice::FollowSystem;
    Palette palette = Palette::Light;
    // Made at their first use in this palette.
    std::array<UniqueBrush, kInkCount> brushes;
};

PaletteState& State() {
    static PaletteState state;
    return state;
}

}  // namespace

AppearanceChoice AppearanceFromNumber(int32_t number) {
    switch (number) {
    case static_cast<int32_t>(AppearanceChoice::Light): return AppearanceChoice::Light;
    case static_cast<int32_t>(AppearanceChoice::Dark): return AppearanceChoice::Dark;
    default: return AppearanceChoice::FollowSystem;
    }
}

Palette ChoosePalette(bool systemAppsLight, AppearanceChoice choice, bool highContrast) {
    if (highContrast) return Palette::HighContrast;
    switch (choice) {
    case AppearanceChoice::Light: return Palette::Light;
    case AppearanceChoice::Dark: return Palette::Dark;
    case AppearanceChoice::FollowSystem: break;
    }
    return systemAppsLight ? Palette::Light : Palette::Dark;
}

Palette CurrentPalette() {
    const PaletteState& state = State();
    return state.known ? state.palette : RefreshPalette();
}

Palette RefreshPalette(AppearanceChoice choice) {
    PaletteState& state = State();
    state.choice = choice;
    const Palette palette = ChoosePalette(SystemAppsUseLight(), choice, SystemHighContrast());
    // The light and high-contrast brushes hold system colours, which may have
    // changed too.
    for (UniqueBrush& brush : state.brushes) brush.reset();
    state.palette = palette;
    state.known = true;
    return palette;
}

Palette RefreshPalette() { return RefreshPalette(State().choice); }

int HighContrastSystemColour(ChromeInk ink) { return RowOf(ink).highContrast; }

COLORREF InkColour(ChromeInk ink, Palette palette) {
    const InkRow& row = RowOf(ink);
    switch (palette) {
    case Palette::Dark: return row.dark;
    case Palette::HighContrast: return GetSysColor(row.highContrast);
    case Palette::Light: break;
    }
    return row.lightSystem == kOwnColour ? row.light : GetSysColor(row.lightSystem);
}

HBRUSH InkBrush(ChromeInk ink) {
    const Palette palette = CurrentPalette();
    UniqueBrush& brush = State().brushes[static_cast<size_t>(ink) % kInkCount];
    if (!brush) brush.reset(CreateSolidBrush(InkColour(ink, palette)));
    return brush ? brush.get() : GetSysColorBrush(COLOR_BTNFACE);
}

void FillInk(HDC dc, const RECT& rect, ChromeInk ink) { FillRect(dc, &rect, InkBrush(ink)); }

void FrameInk(HDC dc, const RECT& rect, ChromeInk ink) { FrameRect(dc, &rect, InkBrush(ink)); }

std::optional<LRESULT> AnswerControlColour(UINT message, WPARAM wParam) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    ChromeInk background = ChromeInk::Face;
    ChromeInk text = ChromeInk::BarText;
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        background = ChromeInk::Field;
        text = ChromeInk::FieldText;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: break;
    default: return std::nullopt;
    }
    SetTextColor(dc, InkColour(text));
    SetBkColor(dc, InkColour(background));
    return reinterpret_cast<LRESULT>(InkBrush(background));
}

LRESULT EraseWithInk(HWND window, HDC dc, ChromeInk ink) {
    RECT client{};
    GetClientRect(window, &client);
    FillInk(dc, client, ink);
    return 1;
}
