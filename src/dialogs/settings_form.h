#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

// What the settings dialog is made of and the rules for what it reads back,
// apart from any window.

enum class ControlKind { Group, Label, Edit, Button, CheckBox, Choice };

// One control of the dialog; position and size in DIPs within the client area.
struct ControlRow {
    ControlKind kind;
    int id;
    const wchar_t* text;
    int x;
    int y;
    int width;
    int height;
};

inline constexpr int kSettingsClientWidthDip = 480;
inline constexpr int kSettingsClientHeightDip = 506;

inline constexpr int kConfirmId = IDOK;
inline constexpr int kCancelId = IDCANCEL;
inline constexpr int kDonateId = 3;
inline constexpr int kApplyTakeoverId = 4209;
inline constexpr int kRestoreTakeoverId = 4215;
inline constexpr int kTakeoverStatusId = 4216;
inline constexpr int kCheckTakeoverId = 4217;
inline constexpr int kNewTabPathId = 4220;
inline constexpr int kBrowseNewTabPathId = 4221;
inline constexpr int kHistoryLimitId = 4222;
inline constexpr int kBackupDirId = 4223;
inline constexpr int kBrowseBackupDirId = 4224;
inline constexpr int kBackupNowId = 4225;
inline constexpr int kFavBarVisibleId = 4226;
inline constexpr int kSearchBoxVisibleId = 4227;
inline constexpr int kAppearanceId = 4240;
inline constexpr int kRecentTabOrderId = 4241;

// The choices under 外观, in the order of their values in settings.txt.
inline constexpr const wchar_t* kAppearanceNames[] = {L"跟随系统", L"浅色", L"深色"};

// In creation order.
inline constexpr ControlRow kSettingsControls[] = {
    {ControlKind::Group, 4228, L"新标签页", 10, 10, 460, 76},
    {ControlKind::Label, 4233, L"打开目录：", 20, 34, 70, 20},
    {ControlKind::Edit, kNewTabPathId, L"", 95, 30, 270, 24},
    {ControlKind::Button, kBrowseNewTabPathId, L"浏览...", 375, 29, 85, 26},
    {ControlKind::Label, 4234, L"新建标签页时打开此目录（留空则默认打开“此电脑”）", 20, 60, 440, 20},
    {ControlKind::Group, 4229, L"默认文件管理器", 10, 96, 460, 84},
    {ControlKind::Label, kTakeoverStatusId, L"", 20, 118, 440, 20},
    {ControlKind::Button, kApplyTakeoverId, L"接管", 20, 146, 90, 26},
    {ControlKind::Button, kRestoreTakeoverId, L"取消接管", 120, 146, 100, 26},
    {ControlKind::Button, kCheckTakeoverId, L"检查接管", 230, 146, 100, 26},
    {ControlKind::Group, 4230, L"界面显示", 10, 190, 460, 76},
    {ControlKind::CheckBox, kFavBarVisibleId, L"显示收藏栏", 20, 214, 130, 20},
    {ControlKind::CheckBox, kSearchBoxVisibleId, L"显示搜索框", 170, 214, 130, 20},
    {ControlKind::CheckBox, kRecentTabOrderId, L"Ctrl+Tab 按最近使用顺序切换", 20, 238, 300, 20},
    {ControlKind::Label, 4239, L"外观：", 310, 214, 45, 20},
    // A drop-down list's height includes its list.
    {ControlKind::Choice, kAppearanceId, L"", 355, 210, 105, 120},
    {ControlKind::Group, 4231, L"关闭标签历史", 10, 276, 460, 72},
    {ControlKind::Label, 4235, L"保存行数：", 20, 300, 90, 20},
    {ControlKind::Edit, kHistoryLimitId, L"", 100, 296, 80, 24},
    {ControlKind::Label, 4236, L"history.txt 中保留的最近关闭目录条数（留空默认 100）", 20, 320, 390, 20},
    {ControlKind::Group, 4232, L"配置备份", 10, 358, 460, 102},
    {ControlKind::Label, 4237, L"备份路径：", 20, 382, 70, 20},
    {ControlKind::Edit, kBackupDirId, L"", 95, 378, 270, 24},
    {ControlKind::Button, kBrowseBackupDirId, L"浏览...", 375, 377, 85, 26},
    {ControlKind::Label, 4238, L"将整个 config 配置文件夹备份到该路径\\config（留空则不备份）", 20, 410, 440, 20},
    {ControlKind::Button, kBackupNowId, L"数据备份", 20, 436, 90, 26},
    {ControlKind::Button, kDonateId, L"捐赠", 210, 470, 70, 26},
    {ControlKind::Button, kCancelId, L"取消", 290, 470, 70, 26},
    {ControlKind::Button, kConfirmId, L"确定", 370, 470, 70, 26},
};

// Where a control goes at a DPI, in client pixels.
[[nodiscard]] RECT ScaledControlRect(const ControlRow& row, int dpi);

// The history count typed into the dialog: blank means the default of 100;
// otherwise the leading decimal number, where anything below 1 also means 100
// and anything above 10000 is cut to 10000.
[[nodiscard]] int32_t HistoryLimitFromText(std::wstring_view text);

