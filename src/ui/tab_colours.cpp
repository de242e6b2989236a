#include "ui/tab_colours.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

struct TabColour {
    const wchar_t* name;
    COLORREF light;  // on the light faces and fields
    COLORREF dark;   // on the dark ones
};

constexpr TabColour kTabColours[kTabColourCount] = {
    {L"红色", RGB(196, 43, 28), RGB(255, 153, 164)},  {L"橙色", RGB(188, 75, 9), RGB(252, 185, 125)},
    {L"绿色", RGB(16, 124, 16), RGB(108, 203, 95)},   {L"蓝色", RGB(0, 95, 184), RGB(96, 205, 255)},
    {L"紫色", RGB(128, 84, 180), RGB(214, 164, 255)}, {L"灰色", RGB(96, 110, 115), RGB(170, 182, 186)},
};

const TabColour* Find(int colour) {
    return colour >= 1 && colour <= kTabColourCount ? &kTabColours[colour - 1] : nullptr;
}

double Channel(int value) {
    const double share = value / 255.0;
    return share <= 0.03928 ? share / 12.92 : std::pow((share + 0.055) / 1.055, 2.4);
}

}  // namespace

const wchar_t* TabColourName(int colour) {
    const TabColour* found = Find(colour);
    return found ? found->name : L"无颜色";
}

COLORREF TabColourInk(int colour, Palette palette) {
    const TabColour* found = Find(colour);
    if (!found) return InkColour(ChromeInk::Face, palette);
    switch (palette) {
    case Palette::Light: return found->light;
    case Palette::Dark: return found->dark;
    case Palette::HighContrast: break;
    }
    const COLORREF face = InkColour(ChromeInk::Face, palette);
    return ContrastRatio(found->light, face) >= ContrastRatio(found->dark, face) ? found->light : found->dark;
}

double RelativeLuminance(COLORREF colour) {
    return 0.2126 * Channel(GetRValue(colour)) + 0.7152 * Channel(GetGValue(colour)) +
           0.0722 * Channel(GetBValue(colour));
}

double ContrastRatio(COLORREF first, COLORREF second) {
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}
