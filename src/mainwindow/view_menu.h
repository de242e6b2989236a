#pragma once

#include <optional>

// The view button's menu: the folder view modes, then the panes, then three
// display options.
inline constexpr int kViewExtraLargeIcons = 4105;
inline constexpr int kViewLargeIcons = 4101;
inline constexpr int kViewMediumIcons = 4106;
inline constexpr int kViewSmallIcons = 4102;
inline constexpr int kViewList = 4103;
inline constexpr int kViewDetails = 4104;
inline constexpr int kViewTiles = 4107;
inline constexpr int kViewContent = 4108;
inline constexpr int kViewNavigationPane = 4109;
inline constexpr int kViewPreviewPane = 4110;
inline constexpr int kViewItemCheckBoxes = 4111;
inline constexpr int kViewFileExtensions = 4112;
inline constexpr int kViewHiddenItems = 4113;

// The first and last ids of the view modes, which form one radio group.
inline constexpr int kFirstViewModeItem = kViewLargeIcons;
inline constexpr int kLastViewModeItem = kViewContent;

struct ViewMenuItem {
    int id = 0;  // 0: a separator
    const wchar_t* text = nullptr;
};

inline constexpr ViewMenuItem kViewMenuItems[] = {
    {kViewExtraLargeIcons, L"超大图标"},
    {kViewLargeIcons, L"大图标"},
    {kViewMediumIcons, L"中等图标"},
    {kViewSmallIcons, L"小图标"},
    {kViewList, L"列表"},
    {kViewDetails, L"详细信息"},
    {kViewTiles, L"平铺"},
    {kViewContent, L"内容"},
    {},
    {kViewNavigationPane, L"显示导航窗格"},
    {kViewPreviewPane, L"显示预览窗格"},
    {},
    {kViewItemCheckBoxes, L"项目复选框"},
    {kViewFileExtensions, L"文件扩展名"},
    {kViewHiddenItems, L"隐藏的项目"},
};

// A folder view mode of the shell and the icon size in pixels that go with it.
struct ViewModeChoice {
    int mode = 0;
    int iconSize = 0;
};

// The view mode a menu item picks; none for the other items.
[[nodiscard]] std::optional<ViewModeChoice> ViewModeOfItem(int id);

// The menu item marked for a panel showing this mode at this icon size; 0 when
// the menu has no item for it.
[[nodiscard]] int MarkedViewModeItem(int mode, int iconSize);

// The value "Hidden" takes for whether hidden items are shown.
[[nodiscard]] constexpr unsigned long HiddenItemsValue(bool shown) { return shown ? 1 : 2; }
