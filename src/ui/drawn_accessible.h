#pragma once

#include <windows.h>
#include <oleacc.h>

#include <optional>
#include <string>

// What screen readers and other assistive tools are told about a window that
// draws its own parts (tabs, buttons, favourites, address segments): the window
// as one MSAA object whose children are those parts. Nothing of it exists
// until a tool first asks the window with WM_GETOBJECT.

// One child as the window describes it.
struct AccessibleChild {
    LONG role = ROLE_SYSTEM_PUSHBUTTON;
    std::wstring name;
    std::wstring description;
    std::wstring value;
    std::wstring defaultAction;
    LONG state = 0;   // STATE_SYSTEM_* flags
    RECT bounds{};    // in the window's client coordinates
    HWND window = nullptr;  // a child window standing in this place answers for itself
};

// Implemented by the object behind a drawn window. Indices are 0-based here;
// the accessible object numbers the children from 1 as MSAA does.
class AccessibleSource {
public:
    [[nodiscard]] virtual LONG AccessibleRole() const = 0;
    [[nodiscard]] virtual std::wstring AccessibleName() const = 0;
    [[nodiscard]] virtual std::wstring AccessibleValue() const { return {}; }
    // STATE_SYSTEM_* flags beyond the focus and visibility the window itself tells.
    [[nodiscard]] virtual LONG AccessibleState() const { return 0; }
    // The object's own place, in the window's client coordinates; nullopt: the whole client area.
    [[nodiscard]] virtual std::optional<RECT> AccessibleBounds() const { return std::nullopt; }
    [[nodiscard]] virtual int AccessibleChildCount() const = 0;
    [[nodiscard]] virtual AccessibleChild AccessibleChildAt(int index) const = 0;
    // A child that is an object of its own rather than a simple element, with
    // a reference for the caller; null for a simple one.
    [[nodiscard]] virtual IAccessible* AccessibleChildObject(int /*index*/) { return nullptr; }
    // The object above this one, with a reference for the caller; null: the window's own.
    [[nodiscard]] virtual IAccessible* AccessibleParent() { return nullptr; }
    // Runs a child's default action; false when it has none. Meant to return
    // at once: a tool in another process waits for the answer.
    virtual bool AccessibleDoDefaultAction(int index) = 0;
    // accSelect on a child (SELFLAG_* flags); false when it cannot be selected.
    virtual bool AccessibleSelect(int /*index*/, LONG /*flags*/) { return false; }
    // The child with the keyboard focus while the window has it, -1 for the window itself.
    [[nodiscard]] virtual int AccessibleFocus() const { return -1; }
    // The selected child, -1 for none.
    [[nodiscard]] virtual int AccessibleSelection() const { return -1; }

protected:
    AccessibleSource() = default;
    ~AccessibleSource() = default;
    AccessibleSource(const AccessibleSource&) = default;
    AccessibleSource& operator=(const AccessibleSource&) = default;
};

class DrawnAccessible;

// The accessible object of one window (or of one part of it, for an object
// that is a child of the window's), made on first use and cut off from its
// source when this holder goes, so that a tool holding on to it gets errors
// rather than a dangling source.
class AccessibleHolder {
public:
    AccessibleHolder() = default;
    ~AccessibleHolder();
    AccessibleHolder(const AccessibleHolder&) = delete;
    AccessibleHolder& operator=(const AccessibleHolder&) = delete;

    // The object, with a reference for the caller; made on first use. Null
    // without a window or memory.
    [[nodiscard]] IAccessible* Get(HWND window, AccessibleSource& source);

    // Answers WM_GETOBJECT when it asks for the window's client area; nullopt
    // for every other object (the default handling answers those).
    [[nodiscard]] std::optional<LRESULT> AnswerGetObject(HWND window, AccessibleSource& source, WPARAM wParam,
                                                         LPARAM lParam);

    // Cuts the object off: from now on it answers every question with an error.
    // A window on its way out names itself, so that it makes no new object for a
    // WM_GETOBJECT that comes after.
    void Disconnect(HWND closingWindow = nullptr);

private:
    DrawnAccessible* object = nullptr;
    HWND cutOffWindow = nullptr;
};

// Tells assistive tools that a child of a window's client object changed
// (EVENT_OBJECT_*); index is 0-based, -1 for the object itself.
void NotifyAccessibleEvent(DWORD event, HWND window, int index);
