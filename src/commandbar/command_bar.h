#pragma once

#include <windows.h>

#include <functional>
#include <string>

inline constexpr wchar_t kCommandBarClass[] = L"Quorlen.CommandBar";

// The strip below the tab strip: the navigation buttons, the address bar and the
// search box. It acts on nothing itself; every request leaves as a command id
// through onCommand.
class CommandBar {
public:
    CommandBar() = default;
    ~CommandBar();
    CommandBar(const CommandBar&) = delete;
    CommandBar& operator=(const CommandBar&) = delete;

    // Creates the bar window and its controls as a child of parent; false when
    // the bar window cannot be made.
    [[nodiscard]] bool Create(HWND parent, int controlId);
    [[nodiscard]] HWND Hwnd() const { return barWindow; }

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

    // The path the address bar shows; also leaves the address edit mode.
    void SetPath(const std::wstring& path);
    void LeaveEditMode();

    // Receives the command ids of command_ids.h.
    std::function<void(int commandId)> onCommand;

private:
    HWND barWindow = nullptr;
};
