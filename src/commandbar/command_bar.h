#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commandbar/address_segments.h"
#include "commandbar/command_bar_layout.h"
#include "ui/drawn_accessible.h"
#include "ui/handles.h"
#include "ui/window_class.h"

inline constexpr wchar_t kCommandBarClass[] = L"Quorlen.CommandBar";
// What assistive tools call the address bar and the search box.
inline constexpr wchar_t kAddressName[] = L"地址";
inline constexpr wchar_t kSearchBoxName[] = L"搜索";

// The strip below the tab strip: the navigation buttons, the address bar and the
// search box. It acts on nothing itself; every request leaves as a command id
// through onCommand.
// The prompt the empty search box shows for the folder it would search.
[[nodiscard]] std::wstring SearchCueText(const std::wstring& folderName);

class CommandBar final : private AccessibleSource {
public:
    CommandBar() = default;
    ~CommandBar();
    CommandBar(const CommandBar&) = delete;
    CommandBar& operator=(const CommandBar&) = delete;

    // Creates the bar window and its controls as a child of parent; false when
    // the bar window cannot be made.
    [[nodiscard]] bool Create(HWND parent, int controlId);
    [[nodiscard]] HWND Hwnd() const { return hwnd; }

    // Places the controls in a client area of this size, in px.
    void Layout(int width, int height);
    // The height in px the bar needs at a width in px.
    [[nodiscard]] int DesiredHeight(int width) const;

    void SetNavEnabled(bool backPossible, bool forwardPossible);
    void SetSearchBoxVisible(bool visible);
    void FocusSearchBox();
    void SetSearchText(const std::wstring& text);
    [[nodiscard]] std::wstring GetSearchText() const;
    [[nodiscard]] std::wstring GetAddressText() const;
    // The cue "在 <name> 中搜索" drawn while the search box is empty.
    void SetSearchPlaceholder(const std::wstring& folderName);
    void SetDpi(int newDpi);
    // The theme or the system colours changed: the glyphs are drawn again in them.
    void OnColoursChanged();

    // The edit boxes, for moving the focus among the window's parts.
    [[nodiscard]] HWND AddressEditWindow() const { return addressEdit; }
    [[nodiscard]] HWND SearchBoxWindow() const { return searchEdit; }
    [[nodiscard]] bool SearchBoxShown() const { return searchEdit && searchBoxVisible; }

    // The path the address bar shows; also leaves the address edit mode.
    void SetPath(const std::wstring& path);
    void LeaveEditMode();
    // Opens the address edit with the focus and its whole text selected.
    void EditAddress();

    // Receives the command ids of command_ids.h.
    std::function<void(int commandId)> onCommand;
    // Receives the folder of an address segment clicked with the middle button.
    std::function<void(const std::wstring& folder)> onOpenInBackgroundTab;

private:
    // The one subclass each control of the bar gets.
    static constexpr UINT_PTR kControlSubclassId = 1;
    // Posted to itself to open an address segment an assistive tool pressed (wParam).
    static constexpr UINT kOpenSegmentMessage = WM_USER + 0x50;
    // The bar's accessible children: the buttons, then the address, its edit and the search box.
    static constexpr int kAddressChild = static_cast<int>(kCommandButtonCount);
    static constexpr int kAddressEditChild = kAddressChild + 1;
    static constexpr int kSearchBoxChild = kAddressChild + 2;

    // The address as an accessible object of its own: its value is the path,
    // its children are the segments. In command_bar_accessible.cpp.
    class AddressAccessible final : public AccessibleSource {
    public:
        explicit AddressAccessible(CommandBar& bar) : bar_(bar) {}
        [[nodiscard]] LONG AccessibleRole() const override;
        [[nodiscard]] std::wstring AccessibleName() const override;
        [[nodiscard]] std::wstring AccessibleValue() const override;
        [[nodiscard]] std::optional<RECT> AccessibleBounds() const override;
        [[nodiscard]] int AccessibleChildCount() const override;
        [[nodiscard]] AccessibleChild AccessibleChildAt(int index) const override;
        [[nodiscard]] IAccessible* AccessibleParent() override;
        bool AccessibleDoDefaultAction(int index) override;

    private:
        CommandBar& bar_;
    };

    // A glyph button; its subclass gets the record as reference data.
    struct CommandButton {
        HWND window = nullptr;
        int commandId = 0;
        UniqueIcon enabledIcon;
        UniqueIcon disabledIcon;
        int drawDips = 0;
        bool hover = false;
    };

    void ForgetWindows();
    friend LRESULT CALLBACK RouteToObject<CommandBar, &CommandBar::ForgetWindows>(HWND window, UINT message,
                                                                                 WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ButtonHoverProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR record);

    // Assistive tools, in command_bar_accessible.cpp.
    [[nodiscard]] LONG AccessibleRole() const override;
    [[nodiscard]] std::wstring AccessibleName() const override;
    [[nodiscard]] int AccessibleChildCount() const override;
    [[nodiscard]] AccessibleChild AccessibleChildAt(int index) const override;
    [[nodiscard]] IAccessible* AccessibleChildObject(int index) override;
    bool AccessibleDoDefaultAction(int index) override;

    void CreateButtons();
    void CreateEdits();
    void ApplyEditFonts();
    void RaiseCommand(int commandId) const;
    void OnCommandMessage(WPARAM wParam, LPARAM lParam);
    void DrawButton(const DRAWITEMSTRUCT& item) const;
    [[nodiscard]] const CommandButton* FindButton(UINT commandId) const;
    void LayOutClientArea();
    void MoveControl(HWND control, const RECT& rect, UINT extraFlags = 0) const;

    // The search box, in command_bar_search_box.cpp.
    static LRESULT CALLBACK SearchBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR bar);
    LRESULT OnSearchBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    void MakeIcons();
    void MakeSearchIcons();
    void MakeButtonTips();
    void PaintSearchBoxExtras(HWND box, HDC dc) const;
    void SetClearButtonState(bool hover, bool pressed);
    void ResetClearButton();
    [[nodiscard]] bool InClearButton(HWND box, POINT client) const;

    // The address bar, in address_bar.cpp.
    static LRESULT CALLBACK AddressEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR bar);
    void LayOutSegmentRects();
    [[nodiscard]] std::vector<int> SegmentTextWidths() const;
    void AskForHeightIfChanged() const;
    void Paint(HDC target) const;
    void PaintContent(HDC dc, const RECT& client) const;
    void OnMouseMove(POINT client);
    void OnMouseLeave();
    void OnLeftButtonDown(POINT client);
    void OnMiddleButtonDown(POINT client);
    void EnterEditMode();
    // Opens a segment's folder, as a click on it does; false for a segment with none.
    bool OpenSegment(int segment);
    [[nodiscard]] int SegmentAt(POINT client) const;
    [[nodiscard]] bool InBarResizeBand(POINT client) const;
    void InvalidateAddressArea() const;

    HWND hwnd = nullptr;
    std::array<CommandButton, kCommandButtonCount> buttons;
    HWND addressEdit = nullptr;
    HWND searchEdit = nullptr;
    bool iconsMade = false;
    UniqueIcon searchIcon;
    UniqueIcon clearIcon;
    UniqueIcon clearIconHot;
    bool clearHover = false;
    bool clearPressed = false;
    int dpi = 96;
    bool searchBoxVisible = false;
    std::wstring searchPlaceholder;
    RECT addressRect{};

    std::wstring currentPath;
    bool editing = false;
    std::vector<AddressSegment> segments;
    std::vector<RECT> segmentRects;
    int hoverSegment = -1;

    HWND tips = nullptr;  // made at the first paint
    AccessibleHolder accessible;         // made when a tool first asks
    AddressAccessible addressSource{*this};
    AccessibleHolder addressAccessible;  // the address's own object
};
