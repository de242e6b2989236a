#include "dialogs/settings_dialog.h"

#include <shobjidl.h>

#include <optional>
#include <string>
#include <utility>

#include "dialogs/donate_window.h"
#include "dialogs/modal_window.h"
#include "dialogs/settings_form.h"
#include "settings/config_backup.h"
#include "takeover/takeover.h"
#include "takeover/uninstall.h"
#include "ui/dark_mode.h"
#include "ui/dpi.h"
#include "ui/fonts.h"
#include "ui/handles.h"
#include "ui/palette.h"
#include "ui/text.h"
#include "ui/window_class.h"

namespace {

constexpr wchar_t kTakeoverAppliedText[] =
    L"已接管：文件夹/驱动器双击将用本程序打开。\n\n"
    L"即使本程序被移动或删除，文件夹也会改用系统资源管理器打开。";
constexpr wchar_t kTakeoverRestoredText[] = L"已取消接管：文件夹/驱动器已恢复为接管前的打开方式。";
constexpr wchar_t kBackupCaption[] = L"数据备份";
constexpr wchar_t kNoBackupDirText[] = L"尚未配置备份路径，请先填写“备份路径”。";
constexpr wchar_t kBackupDoneText[] = L"备份完成：config 配置目录已备份到\n\n";
constexpr wchar_t kBackupFailedText[] =
    L"备份失败：请检查备份路径是否有效、是否可写。\n（备份路径不能是 config 目录或其子目录）";

// The window class, styles and font of each kind of control.
struct ControlStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ControlStyle StyleOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Group: return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Label: return {L"STATIC", 0, 0};
    case ControlKind::Edit: return {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX, 0};
    case ControlKind::Choice: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    }
    return {L"STATIC", 0, 0};
}

HFONT FontOf(ControlKind kind, int dpi) { return kind == ControlKind::Group ? UiFontBold(dpi) : UiFont(dpi); }

SIZE ClientSize(int dpi) {
    return SIZE{ScaleDip(kSettingsClientWidthDip, dpi), ScaleDip(kSettingsClientHeightDip, dpi)};
}

class SettingsDialog {
public:
    SettingsDialog(HWND owner, SettingsStore& store)
        : owner(owner),
          store(store),
          settings(store.Values()),
          dpi(static_cast<int>(GetDpiForSystem())) {}
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    void Run() {
        static const bool registered = RegisterChromeClass(kSettingsDialogClass, RouteToObject<SettingsDialog>, 0);
        if (!registered) return;
        const HWND created =
            CreateModalWindow(kSettingsDialogClass, L"设置 - Quorlen", ClientSize(dpi), dpi, owner, this);
        if (!created) return;
        RunModalWindow(created, owner);
    }

private:
    friend LRESULT CALLBACK RouteToObject<SettingsDialog>(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
        if (const std::optional<LRESULT> colour = AnswerControlColour(message, wParam)) return *colour;
        switch (message) {
        case WM_CREATE:
            CreateControls();
            Fill();
            ShowTakeoverStatus();
            shownPalette = CurrentPalette();
            if (shownPalette == Palette::Dark) ApplyPalette();
            return 0;
        case WM_ERASEBKGND: return EraseWithInk(hwnd, reinterpret_cast<HDC>(wParam), ChromeInk::Face);
        case WM_SETTINGCHANGE:
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            // Told as every top-level window is; the main windows may not have looked yet.
            if (RefreshPalette() != shownPalette || message != WM_SETTINGCHANGE) ApplyPalette();
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) != 0) break;
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                DestroyBoundWindow(hwnd);
                return 0;
            }
            if (wParam == VK_RETURN) {
                Confirm();
                return 0;
            }
            break;
        case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam)); return 0;
        default: break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    void CreateControls() {
        for (const ControlRow& row : kSettingsControls) {
            const ControlStyle style = StyleOf(row.kind);
            const RECT place = ScaledControlRect(row, dpi);
            const HWND control = CreateWindowExW(style.exStyle, style.className, row.text,
                                                 WS_CHILD | WS_VISIBLE | style.style, place.left, place.top,
                                                 place.right - place.left, place.bottom - place.top, hwnd,
                                                 ControlId(row.id), GetModuleHandleW(nullptr), nullptr);
            if (!control) continue;
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(row.kind, dpi)), FALSE);
            if (row.kind == ControlKind::Edit) KeepDarkFieldEdge(control);
            if (row.kind == ControlKind::Group) KeepDarkGroupBox(control);
        }
    }

    // The frame and the controls the system draws follow the palette; the
    // rest takes its colours from WM_CTLCOLOR* and WM_ERASEBKGND.
    void ApplyPalette() {
        shownPalette = CurrentPalette();
        const bool dark = shownPalette == Palette::Dark;
        ThemeFrame(hwnd, dark);
        for (const ControlRow& row : kSettingsControls) {
            const HWND control = GetDlgItem(hwnd, row.id);
            switch (row.kind) {
            case ControlKind::CheckBox: ThemeLabelledButton(control, dark); break;
            case ControlKind::Button: ThemeControl(control, dark, L"DarkMode_Explorer"); break;
            case ControlKind::Edit:
            case ControlKind::Choice: ThemeControl(control, dark, L"DarkMode_CFD"); break;
            case ControlKind::Group:  // drawn in the palette by its subclass
            case ControlKind::Label: break;
            }
        }
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }

    void Fill() {
        if (const HWND appearance = GetDlgItem(hwnd, kAppearanceId)) {
            for (const wchar_t* name : kAppearanceNames) {
                SendMessageW(appearance, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
            }
            SendMessageW(appearance, CB_SETCURSEL,
                         static_cast<WPARAM>(AppearanceFromNumber(settings.Appearance)), 0);
        }
        SetDlgItemTextW(hwnd, kNewTabPathId, settings.NewTabPath.c_str());
        SetDlgItemTextW(hwnd, kHistoryLimitId, std::to_wstring(settings.HistoryLimit).c_str());
        SetDlgItemTextW(hwnd, kBackupDirId, settings.BackupDir.c_str());
        CheckDlgButton(hwnd, kFavBarVisibleId, settings.FavBarVisible ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(hwnd, kSearchBoxVisibleId, settings.SearchBoxVisible ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(hwnd, kRecentTabOrderId, settings.RecentTabOrder ? BST_CHECKED : BST_UNCHECKED);
    }

    void ShowTakeoverStatus() {
        SetDlgItemTextW(hwnd, kTakeoverStatusId, TakeoverStatusText(SurveyTakeover()).c_str());
    }

    void CheckTakeover() {
        const TakeoverSurvey survey = SurveyTakeover(true);
        SetDlgItemTextW(hwnd, kTakeoverStatusId, TakeoverStatusText(survey).c_str());
        MessageBoxW(hwnd, TakeoverCheckReport(survey).c_str(), L"检查接管", MB_ICONINFORMATION);
    }

    void OnCommand(int id) {
        switch (id) {
        case kConfirmId: Confirm(); break;
        case kCancelId: DestroyBoundWindow(hwnd); break;
        case kDonateId: ShowDonateWindow(hwnd); break;
        case kApplyTakeoverId: SwitchTakeover(true); break;
        case kRestoreTakeoverId: SwitchTakeover(false); break;
        case kCheckTakeoverId: CheckTakeover(); break;
        case kBrowseNewTabPathId: PickFolderInto(kNewTabPathId); break;
        case kBrowseBackupDirId: PickFolderInto(kBackupDirId); break;
        case kBackupNowId: BackUpNow(); break;
        default: break;
        }
    }

    void SwitchTakeover(bool on) {
        std::wstring error;
        if (on ? ApplyTakeover(&error) : UndoTakeover(&error)) {
            // Kept at once, and only in the store: the start's question may
            // change the flag while this dialog is open, and confirming the
            // dialog must not put back the value it opened with.
            store.SetTakeover(on);
            MessageBoxW(hwnd, on ? kTakeoverAppliedText : kTakeoverRestoredText, on ? L"接管成功" : L"取消接管",
                        MB_ICONINFORMATION);
            OfferExplorerRestart(hwnd);
        } else {
            MessageBoxW(hwnd, error.c_str(), on ? L"接管失败" : L"取消失败", MB_ICONERROR);
        }
        ShowTakeoverStatus();
    }

    void PickFolderInto(int editId) {
        ComPtr<IFileOpenDialog> picker;
        if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(picker.put())))) {
            return;
        }
        FILEOPENDIALOGOPTIONS options = 0;
        if (FAILED(picker->GetOptions(&options)) ||
            FAILED(picker->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM))) {
            return;
        }
        if (FAILED(picker->Show(hwnd))) return;
        ComPtr<IShellItem> folder;
        CoTaskMemString path;
        if (FAILED(picker->GetResult(folder.put())) || FAILED(folder->GetDisplayName(SIGDN_FILESYSPATH, path.put()))) {
            return;
        }
        SetDlgItemTextW(hwnd, editId, path.get());
    }

    void BackUpNow() {
        const HWND edit = GetDlgItem(hwnd, kBackupDirId);
        const std::wstring folder = edit ? TrimBlanks(ReadWindowText(edit)) : std::wstring();
        if (folder.empty()) {
            MessageBoxW(hwnd, kNoBackupDirText, kBackupCaption, MB_ICONINFORMATION);
            return;
        }
        Settings withFolder = settings;
        withFolder.BackupDir = folder;
        if (BackupConfig(withFolder)) {
            const std::wstring done = kBackupDoneText + folder + L"\\config";
            MessageBoxW(hwnd, done.c_str(), kBackupCaption, MB_ICONINFORMATION);
        } else {
            MessageBoxW(hwnd, kBackupFailedText, kBackupCaption, MB_ICONERROR);
        }
    }

    void Confirm() {
        settings.NewTabPath = TrimBlanks(ReadWindowText(GetDlgItem(hwnd, kNewTabPathId)));
        settings.HistoryLimit = HistoryLimitFromText(ReadWindowText(GetDlgItem(hwnd, kHistoryLimitId)));
        settings.BackupDir = TrimBlanks(ReadWindowText(GetDlgItem(hwnd, kBackupDirId)));
        settings.FavBarVisible = IsDlgButtonChecked(hwnd, kFavBarVisibleId) == BST_CHECKED;
        settings.SearchBoxVisible = IsDlgButtonChecked(hwnd, kSearchBoxVisibleId) == BST_CHECKED;
        settings.RecentTabOrder = IsDlgButtonChecked(hwnd, kRecentTabOrderId) == BST_CHECKED;
        const LRESULT appearance = SendMessageW(GetDlgItem(hwnd, kAppearanceId), CB_GETCURSEL, 0, 0);
        if (appearance != CB_ERR) settings.Appearance = static_cast<int32_t>(appearance);
        store.ApplyDialogChoices(settings);
        DestroyBoundWindow(hwnd);
    }

    void OnDpiChanged(int newDpi) {
        dpi = newDpi;
        RECT old{};
        GetWindowRect(hwnd, &old);
        const SIZE size = ModalWindowSize(ClientSize(dpi), dpi);
        SetWindowPos(hwnd, nullptr, (old.left + old.right) / 2 - size.cx / 2, (old.top + old.bottom) / 2 - size.cy / 2,
                     size.cx, size.cy, SWP_NOACTIVATE | SWP_NOZORDER);
        for (const ControlRow& row : kSettingsControls) {
            const HWND control = GetDlgItem(hwnd, row.id);
            if (!control) continue;
            const RECT place = ScaledControlRect(row, dpi);
            MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(row.kind, dpi)), FALSE);
        }
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }

    HWND hwnd = nullptr;
    HWND owner;
    SettingsStore& store;
    // What the dialog shows and edits, until it is confirmed.
    Settings settings;
    int dpi;
    Palette shownPalette = Palette::Light;
};

}  // namespace

void ShowSettingsDialog(HWND owner, SettingsStore& store) {
    SettingsDialog dialog(owner, store);
    dialog.Run();
}
