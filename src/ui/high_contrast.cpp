#include "ui/high_contrast.h"

namespace {

struct InkRow {
    ChromeInk ink;
    COLORREF own;
    int system;  // in high contrast
};

constexpr InkRow kInks[] = {
    {ChromeInk::ButtonGlyph, RGB(0, 0, 0), COLOR_BTNTEXT},
    {ChromeInk::DisabledGlyph, RGB(160, 160, 160), COLOR_GRAYTEXT},
    {ChromeInk::StarGlyph, RGB(255, 185, 0), COLOR_BTNTEXT},
    {ChromeInk::BarText, RGB(0, 0, 0), COLOR_BTNTEXT},
    {ChromeInk::SelectedText, RGB(0, 0, 0), COLOR_HIGHLIGHTTEXT},
    {ChromeInk::AddressText, RGB(50, 50, 50), COLOR_WINDOWTEXT},
    {ChromeInk::AddressSeparator, RGB(180, 180, 180), COLOR_WINDOWTEXT},
    {ChromeInk::SearchGlyph, RGB(96, 96, 96), COLOR_WINDOWTEXT},
    {ChromeInk::HotClearGlyph, RGB(40, 40, 40), COLOR_HIGHLIGHTTEXT},
    {ChromeInk::HotClearBackground, RGB(240, 240, 240), COLOR_HIGHLIGHT},
    {ChromeInk::PressedClearBackground, RGB(224, 224, 224), COLOR_HIGHLIGHT},
    {ChromeInk::Placeholder, RGB(150, 150, 150), COLOR_GRAYTEXT},
    {ChromeInk::SpinnerLead, RGB(0, 103, 192), COLOR_HIGHLIGHTTEXT},
    {ChromeInk::SpinnerTrail, RGB(173, 214, 244), COLOR_GRAYTEXT},
    {ChromeInk::ListText, RGB(0, 0, 0), COLOR_WINDOWTEXT},
    {ChromeInk::HotListText, RGB(0, 0, 0), COLOR_HIGHLIGHTTEXT},
    {ChromeInk::HotListRow, RGB(233, 242, 252), COLOR_HIGHLIGHT},
};

const InkRow& RowOf(ChromeInk ink) {
    for (const InkRow& row : kInks) {
        if (row.ink == ink) return row;
    }
    return kInks[0];
}

bool highContrastKnown = false;
bool highContrastOn = false;

// Wine cannot turn a high-contrast theme on: its SPI_SETHIGHCONTRAST is not
// implemented and SPI_GETHIGHCONTRAST always answers off. The tests that look
// at the high-contrast drawing under Wine ask for it with this variable ("1").
constexpr wchar_t kForceVariable[] = L"QUORLEN_HIGH_CONTRAST";

bool ForcedByEnvironment() {
    wchar_t value[2] = {};
    return GetEnvironmentVariableW(kForceVariable, value, 2) == 1 && value[0] == L'1';
}

}  // namespace

bool HighContrastOn() {
    if (!highContrastKnown) RefreshHighContrast();
    return highContrastOn;
}

void RefreshHighContrast() {
    HIGHCONTRASTW state{};
    state.cbSize = sizeof(state);
    highContrastOn = (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(state), &state, 0) &&
                      (state.dwFlags & HCF_HIGHCONTRASTON) != 0) ||
                     ForcedByEnvironment();
    highContrastKnown = true;
}

int HighContrastSystemColour(ChromeInk ink) { return RowOf(ink).system; }

COLORREF InkColour(ChromeInk ink, bool highContrast) {
    const InkRow& row = RowOf(ink);
    return highContrast ? GetSysColor(row.system) : row.own;
}
