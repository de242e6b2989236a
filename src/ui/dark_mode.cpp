#include "ui/dark_mode.h"

#include <commctrl.h>
#include <dwmapi.h>

#include <iterator>

#include "ui/dpi.h"
#include "ui/handles.h"
#include "ui/palette.h"

namespace {

// The builds the ordinals below are known on: Windows 10 1809 to Windows 11 25H2.
constexpr DWORD kFirstDarkThemeBuild = 17763;
constexpr DWORD kLastKnownDarkThemeBuild = 26200;
// From 1903 ordinal 135 takes a mode rather than a flag, and can force dark.
constexpr DWORD kPreferredAppModeBuild = 18362;
constexpr DWORD kDocumentedFrameAttributeBuild = 19041;
constexpr DWORD kWindows11Build = 22000;
constexpr DWORD kOldFrameAttribute = 19;
constexpr DWORD kFrameAttribute = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE

constexpr WORD kAllowDarkModeForWindowOrdinal = 133;
constexpr WORD kPreferredAppModeOrdinal = 135;
constexpr WORD kFlushMenuThemesOrdinal = 136;
// The values ordinal 135 takes: on 1809 FALSE and TRUE, from 1903 a mode.
constexpr int kAppModeDefault = 0;
constexpr int kAppModeAllowDark = 1;
constexpr int kAppModeForceDark = 2;

using SetWindowThemeCall = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
using AllowDarkModeForWindowCall = BOOL(WINAPI*)(HWND, BOOL);
using PreferredAppModeCall = int(WINAPI*)(int);
using FlushMenuThemesCall = void(WINAPI*)();

DWORD WindowsBuild() {
    using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto getVersion =
        ntdll ? reinterpret_cast<RtlGetVersionCall>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
              : nullptr;
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return getVersion && getVersion(&version) == 0 ? version.dwBuildNumber : 0;
}

template <typename Call>
Call Find(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

template <typename Call>
Call FindOrdinal(HMODULE module, WORD ordinal) {
    return Find<Call>(module, MAKEINTRESOURCEA(ordinal));
}

// uxtheme.dll, loaded once for the process and never freed.
struct ThemeCalls {
    DWORD build = 0;
    SetWindowThemeCall setWindowTheme = nullptr;
    AllowDarkModeForWindowCall allowDarkModeForWindow = nullptr;
    PreferredAppModeCall preferredAppMode = nullptr;
    FlushMenuThemesCall flushMenuThemes = nullptr;

    [[nodiscard]] bool DarkCalls() const { return allowDarkModeForWindow && preferredAppMode && flushMenuThemes; }
};

const ThemeCalls& Calls() {
    static const ThemeCalls calls = [] {
        ThemeCalls found;
        found.build = WindowsBuild();
        const HMODULE uxtheme = LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        found.setWindowTheme = Find<SetWindowThemeCall>(uxtheme, "SetWindowTheme");
        // By ordinal a function that is missing could be another one: looked up
        // only where these are known to be what they are.
        if (DarkThemeCallsKnownOn(found.build)) {
            found.allowDarkModeForWindow =
                FindOrdinal<AllowDarkModeForWindowCall>(uxtheme, kAllowDarkModeForWindowOrdinal);
            found.preferredAppMode = FindOrdinal<PreferredAppModeCall>(uxtheme, kPreferredAppModeOrdinal);
            found.flushMenuThemes = FindOrdinal<FlushMenuThemesCall>(uxtheme, kFlushMenuThemesOrdinal);
        }
        return found;
    }();
    return calls;
}

void SetTheme(HWND window, const wchar_t* application, const wchar_t* idList) {
    if (const SetWindowThemeCall setWindowTheme = Calls().setWindowTheme) setWindowTheme(window, application, idList);
}

// A control the system themes takes its dark theme where the calls exist.
void AllowDark(HWND window, bool dark) {
    if (const ThemeCalls& calls = Calls(); calls.DarkCalls()) calls.allowDarkModeForWindow(window, dark);
}

const wchar_t* ShellViewDarkTheme(const wchar_t* className) {
    if (lstrcmpiW(className, L"DirectUIHWND") == 0 || lstrcmpiW(className, L"SysListView32") == 0 ||
        lstrcmpiW(className, L"SysHeader32") == 0) {
        return L"DarkMode_ItemsView";
    }
    if (lstrcmpiW(className, L"SysTreeView32") == 0 || lstrcmpiW(className, L"ScrollBar") == 0 ||
        lstrcmpiW(className, L"NamespaceTreeControl") == 0) {
        return L"DarkMode_Explorer";
    }
    return nullptr;
}

const wchar_t* ShellViewLightTheme(const wchar_t* className) {
    return lstrcmpiW(className, L"DirectUIHWND") == 0 || lstrcmpiW(className, L"SysListView32") == 0 ||
                   lstrcmpiW(className, L"SysHeader32") == 0
               ? L"ItemsView"
               : L"Explorer";
}

constexpr UINT_PTR kDarkEdgeSubclass = 1;

LRESULT CALLBACK DarkEdgeProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCPAINT && PaintDarkFieldEdge(edit)) return 0;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, DarkEdgeProc, kDarkEdgeSubclass);
    return DefSubclassProc(edit, message, wParam, lParam);
}

constexpr UINT_PTR kDarkGroupSubclass = 1;
constexpr int kGroupTitleIndentDips = 8;

void PaintDarkGroupBox(HWND group, HDC dc) {
    RECT client{};
    GetClientRect(group, &client);
    wchar_t title[128] = {};
    const int length = GetWindowTextW(group, title, static_cast<int>(std::size(title)));
    const SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(group, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc, title, length, &text);
    FrameInk(dc, RECT{client.left, client.top + text.cy / 2, client.right, client.bottom}, ChromeInk::Outline);
    const int indent = ScaleDip(kGroupTitleIndentDips, static_cast<int>(GetDpiForWindow(group)));
    RECT titleRect{client.left + indent, client.top, client.left + indent + text.cx + 4, client.top + text.cy};
    FillInk(dc, titleRect, ChromeInk::Face);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, InkColour(ChromeInk::BarText));
    DrawTextW(dc, title, length, &titleRect, DT_SINGLELINE | DT_CENTER | DT_NOPREFIX);
}

LRESULT CALLBACK DarkGroupProc(HWND group, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_PAINT && DarkChrome()) {
        PAINTSTRUCT paint{};
        if (const HDC dc = BeginPaint(group, &paint)) {
            PaintDarkGroupBox(group, dc);
            EndPaint(group, &paint);
        }
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(group, DarkGroupProc, kDarkGroupSubclass);
    return DefSubclassProc(group, message, wParam, lParam);
}

}  // namespace

bool DarkThemeCallsKnownOn(DWORD build) { return build >= kFirstDarkThemeBuild && build <= kLastKnownDarkThemeBuild; }

bool DarkThemeCallsAvailable() { return Calls().DarkCalls(); }

DWORD DarkFrameAttributeFor(DWORD build) {
    if (build >= kDocumentedFrameAttributeBuild) return kFrameAttribute;
    return build >= kFirstDarkThemeBuild ? kOldFrameAttribute : 0;
}

bool SystemDrawsDarkMenus() {
    const ThemeCalls& calls = Calls();
    return calls.DarkCalls() && (calls.build >= kPreferredAppModeBuild || !SystemAppsUseLight());
}

void ThemeMenus(bool dark) {
    const ThemeCalls& calls = Calls();
    if (!calls.DarkCalls()) return;
    const bool modes = calls.build >= kPreferredAppModeBuild;
    calls.preferredAppMode(dark ? (modes ? kAppModeForceDark : kAppModeAllowDark) : kAppModeDefault);
    calls.flushMenuThemes();
}

void ThemeFrame(HWND window, bool dark) {
    const DWORD attribute = DarkFrameAttributeFor(Calls().build);
    if (!window || attribute == 0) return;
    const BOOL value = dark ? TRUE : FALSE;
    if (FAILED(DwmSetWindowAttribute(window, attribute, &value, sizeof(value)))) return;
    // Windows 10 draws a caption already on screen anew only when it is
    // activated or deactivated.
    if (Calls().build < kWindows11Build && IsWindowVisible(window) && GetActiveWindow() == window) {
        SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    }
}

void ThemeControl(HWND control, bool dark, const wchar_t* darkTheme) {
    if (!control || !DarkThemeCallsAvailable()) return;
    AllowDark(control, dark);
    // Tells the control with WM_THEMECHANGED.
    SetTheme(control, dark ? darkTheme : nullptr, nullptr);
}

void ThemeLabelledButton(HWND control, bool dark) {
    if (!control) return;
    // An empty name turns visual styles off for the control; none puts them back.
    SetTheme(control, dark ? L"" : nullptr, dark ? L"" : nullptr);
}

bool PaintDarkFieldEdge(HWND edit) {
    if (!DarkChrome()) return false;
    const HDC dc = GetWindowDC(edit);
    if (!dc) return false;
    RECT window{};
    GetWindowRect(edit, &window);
    RECT edge{0, 0, window.right - window.left, window.bottom - window.top};
    // The sunken edge is two pixels wide.
    FrameInk(dc, edge, ChromeInk::Outline);
    InflateRect(&edge, -1, -1);
    FrameInk(dc, edge, ChromeInk::Field);
    ReleaseDC(edit, dc);
    return true;
}

void KeepDarkFieldEdge(HWND edit) { SetWindowSubclass(edit, DarkEdgeProc, kDarkEdgeSubclass, 0); }

void KeepDarkGroupBox(HWND group) { SetWindowSubclass(group, DarkGroupProc, kDarkGroupSubclass, 0); }

void ThemeTooltip(HWND tooltip, bool dark) {
    if (!tooltip) return;
    if (DarkThemeCallsAvailable()) {
        ThemeControl(tooltip, dark, L"DarkMode_Explorer");
    } else {
        // Unthemed, a tooltip draws in the colours it is given.
        SetTheme(tooltip, dark ? L"" : nullptr, dark ? L"" : nullptr);
    }
    const COLORREF background = dark ? InkColour(ChromeInk::Field) : GetSysColor(COLOR_INFOBK);
    const COLORREF text = dark ? InkColour(ChromeInk::FieldText) : GetSysColor(COLOR_INFOTEXT);
    SendMessageW(tooltip, TTM_SETTIPBKCOLOR, background, 0);
    SendMessageW(tooltip, TTM_SETTIPTEXTCOLOR, text, 0);
}

void ThemeShellView(HWND host, bool dark) {
    if (!host || !DarkThemeCallsAvailable()) return;
    EnumChildWindows(
        host,
        [](HWND child, LPARAM darkFlag) -> BOOL {
            // A preview handler's windows belong to another process, which may hang.
            if (GetWindowThreadProcessId(child, nullptr) != GetCurrentThreadId()) return TRUE;
            wchar_t className[64] = {};
            GetClassNameW(child, className, static_cast<int>(std::size(className)));
            if (const wchar_t* darkTheme = ShellViewDarkTheme(className)) {
                const bool makeDark = darkFlag != 0;
                AllowDark(child, makeDark);
                SetTheme(child, makeDark ? darkTheme : ShellViewLightTheme(className), nullptr);
            }
            return TRUE;
        },
        dark ? 1 : 0);
}
