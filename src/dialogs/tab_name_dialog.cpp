#include "dialogs/tab_name_dialog.h"

#include <iterator>

#include "dialogs/modal_window.h"
#include "dialogs/settings_form.h"
#include "ui/dark_mode.h"
#include "ui/dpi.h"
#include "ui/fonts.h"
#include "ui/palette.h"
#include "ui/text.h"
#include "ui/window_class.h"

namespace {

constexpr int kClientWidthDip = 360;
constexpr int kClientHeightDip = 112;
// Names are cut there anyway when they are kept.
constexpr WPARAM kNameLimit = 100;

constexpr int kHintId = 4302;

// The hint names the folder, so its text is set when the dialog is made.
constexpr ControlRow kControls[] = {
    {ControlKind::Label, kHintId, L"", 12, 12, 336, 20},
    {ControlKind::Edit, kTabNameEditId, L"", 12, 38, 336, 24},
    {ControlKind::Button, IDOK, L"确定", 188, 76, 76, 26},
    {ControlKind::Button, IDCANCEL, L"取消", 272, 76, 76, 26},
};

class TabNameDialog {
public:
    TabNameDialog(HWND owner, std::wstring current, std::wstring folderName)
        : owner(owner),
          current(std::move(current)),
          folderName(std::move(folderName)),
          dpi(static_cast<int>(owner ? GetDpiForWindow(owner) : GetDpiForSystem())) {}
    TabNameDialog(const TabNameDialog&) = delete;
    TabNameDialog& operator=(const TabNameDialog&) = delete;

    std::optional<std::wstring> Run() {
        static const bool registered = RegisterChromeClass(kTabNameDialogClass, RouteToObject<TabNameDialog>, 0);
        if (!registered) return std::nullopt;
        const SIZE client{ScaleDip(kClientWidthDip, dpi), ScaleDip(kClientHeightDip, dpi)};
        const HWND created = CreateModalWindow(kTabNameDialogClass, L"重命名标签页", client, dpi, owner, this);
        if (!created) return std::nullopt;
        RunModalWindow(created, owner);
        return typed;
    }

private:
    friend LRESULT CALLBACK RouteToObject<TabNameDialog>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
        if (const std::optional<LRESULT> colour = AnswerControlColour(message, wParam)) return *colour;
        switch (message) {
        case WM_CREATE:
            CreateControls();
            if (CurrentPalette() == Palette::Dark) ApplyDarkPalette();
            return 0;
        case WM_ERASEBKGND: return EraseWithInk(hwnd, reinterpret_cast<HDC>(wParam), ChromeInk::Face);
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) break;
            if (LOWORD(wParam) == IDOK) typed = TrimBlanks(ReadWindowText(GetDlgItem(hwnd, kTabNameEditId)));
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                DestroyBoundWindow(hwnd);
                return 0;
            }
            break;
        default: break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    void CreateControls() {
        for (const ControlRow& row : kControls) {
            const bool edit = row.kind == ControlKind::Edit;
            const bool button = row.kind == ControlKind::Button;
            DWORD style = WS_CHILD | WS_VISIBLE;
            if (edit) style |= WS_TABSTOP | ES_AUTOHSCROLL;
            if (button) style |= WS_TABSTOP | (row.id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            const RECT place = ScaledControlRect(row, dpi);
            const HWND control = CreateWindowExW(edit ? WS_EX_CLIENTEDGE : 0, edit ? L"EDIT" : button ? L"BUTTON" : L"STATIC",
                                                 row.text, style, place.left, place.top, place.right - place.left,
                                                 place.bottom - place.top, hwnd, ControlId(row.id),
                                                 GetModuleHandleW(nullptr), nullptr);
            if (!control) continue;
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont(dpi)), FALSE);
            if (edit) KeepDarkFieldEdge(control);
        }
        const std::wstring hint = L"标签名称（留空则显示文件夹名称“" + folderName + L"”）：";
        SetDlgItemTextW(hwnd, kHintId, hint.c_str());
        const HWND edit = GetDlgItem(hwnd, kTabNameEditId);
        SendMessageW(edit, EM_LIMITTEXT, kNameLimit, 0);
        SetWindowTextW(edit, (current.empty() ? folderName : current).c_str());
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
    }

    void ApplyDarkPalette() {
        ThemeFrame(hwnd, true);
        ThemeControl(GetDlgItem(hwnd, kTabNameEditId), true, L"DarkMode_CFD");
        for (const int button : {IDOK, IDCANCEL}) ThemeControl(GetDlgItem(hwnd, button), true, L"DarkMode_Explorer");
    }

    HWND hwnd = nullptr;
    HWND owner;
    std::wstring current;
    std::wstring folderName;
    int dpi;
    std::optional<std::wstring> typed;
};

}  // namespace

std::optional<std::wstring> AskTabName(HWND owner, const std::wstring& current, const std::wstring& folderName) {
    TabNameDialog dialog(owner, current, folderName);
    return dialog.Run();
}
