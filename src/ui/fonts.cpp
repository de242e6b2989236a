#include "ui/fonts.h"

#include <map>
#include <mutex>

#include "ui/handles.h"

namespace {

constexpr wchar_t kWindowMetricsKey[] = L"Control Panel\\Desktop\\WindowMetrics";
constexpr size_t kFaceNameOffset = offsetof(LOGFONTW, lfFaceName);

// Keeps every font for the life of the process: windows on several monitors share
// them, and a handle given out must never go stale while a window still paints.
using FontCache = std::map<int, HFONT>;

FontCache& NormalFonts() {
    static FontCache fonts;
    return fonts;
}

FontCache& BoldFonts() {
    static FontCache fonts;
    return fonts;
}

int EffectiveDpi(int dpi) { return dpi > 0 ? dpi : static_cast<int>(GetDpiForSystem()); }

HFONT CachedUiFont(FontCache& cache, int dpi, bool bold) {
    dpi = EffectiveDpi(dpi);
    if (auto found = cache.find(dpi); found != cache.end()) return found->second;
    std::wstring face;
    int height = -12;
    IconFontFace(face, height);
    HFONT font = CreateFontW(ScaledFontHeight(height, dpi, bold), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                             FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    cache.emplace(dpi, font);
    return font;
}

int CALLBACK StopAtFirstFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceIsInstalled(const std::wstring& face) {
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(screen, &wanted, StopAtFirstFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

int ScaledFontHeight(int height, int dpi, bool bold) {
    if (bold) height += height < 0 ? -1 : 1;
    return height < 0 ? -MulDiv(-height, dpi, 96) : MulDiv(height, dpi, 96);
}

HFONT UiFont(int dpi) { return CachedUiFont(NormalFonts(), dpi, false); }

HFONT UiFontBold(int dpi) { return CachedUiFont(BoldFonts(), dpi, true); }

void IconFontFace(std::wstring& face, int& height) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kWindowMetricsKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
        LOGFONTW iconFont{};
        DWORD size = sizeof(iconFont);
        if (RegQueryValueExW(key.get(), L"IconFont", nullptr, nullptr, reinterpret_cast<BYTE*>(&iconFont),
                             &size) == ERROR_SUCCESS &&
            size >= kFaceNameOffset) {
            // The value may end inside the face name; read no further than it reaches.
            size_t characters = (size - kFaceNameOffset) / sizeof(wchar_t);
            std::wstring stored(iconFont.lfFaceName, wcsnlen(iconFont.lfFaceName, characters));
            if (!stored.empty()) face = stored;
            if (iconFont.lfHeight != 0) height = iconFont.lfHeight;
        }
    }
    if (face.empty() || !FontInstalled(face)) face = L"Microsoft YaHei UI";
    if (!FontInstalled(face)) face = L"SimSun";
}

// Asked once per face for the life of the process: every glyph icon asks, and
// enumerating the fonts costs far more than drawing the glyph.
bool FontInstalled(const std::wstring& face) {
    static std::mutex guard;
    static std::map<std::wstring, bool> answers;
    const std::lock_guard<std::mutex> lock(guard);
    if (const auto known = answers.find(face); known != answers.end()) return known->second;
    return answers[face] = FaceIsInstalled(face);
}

std::optional<int> UiTextWidth(const std::wstring& text, int dpi) { return UiTextWidths({text}, dpi).front(); }

std::vector<std::optional<int>> UiTextWidths(const std::vector<std::wstring>& texts, int dpi) {
    std::vector<std::optional<int>> widths(texts.size());
    // A memory context compatible with the screen measures as a window would,
    // without asking for a window's own context.
    UniqueMemoryDc measuring(CreateCompatibleDC(nullptr));
    if (!measuring) return widths;
    const SelectedObject font(measuring.get(), UiFont(dpi));
    for (size_t i = 0; i < texts.size(); ++i) {
        SIZE size{};
        if (GetTextExtentPoint32W(measuring.get(), texts[i].c_str(), static_cast<int>(texts[i].size()), &size)) {
            widths[i] = size.cx;
        }
    }
    return widths;
}
