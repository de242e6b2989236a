#include "ui/drawn_accessible.h"

#include <new>
#include <vector>

#include "ui/accessible_com.h"
#include "ui/accessible_rules.h"
#include "ui/event_log.h"
#include "ui/oleacc_entry.h"

namespace {

// A BSTR for a text, or S_FALSE and null for an empty one, as MSAA has it.
HRESULT ReturnText(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChildId(VARIANT* out, long id) {
    out->vt = VT_I4;
    out->lVal = id;
}

void SetDispatch(VARIANT* out, IAccessible* object) {
    out->vt = VT_DISPATCH;
    out->pdispVal = object;  // IAccessible is an IDispatch; the reference goes with it
}

RECT ToScreen(HWND window, RECT rect) {
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

// The one implementation of IAccessible for drawn windows; everything it says
// comes from its source at the moment it is asked.
class DrawnAccessible final : public AccessibleComObject {
public:
    DrawnAccessible(HWND window, AccessibleSource* source) : window_(window), source_(source) {}
    DrawnAccessible(const DrawnAccessible&) = delete;
    DrawnAccessible& operator=(const DrawnAccessible&) = delete;

    void Disconnect() { source_ = nullptr; }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (!Live()) return CO_E_OBJNOTCONNECTED;
        if (IAccessible* above = source_->AccessibleParent()) {
            *parent = above;
            return S_OK;
        }
        return OleaccCreateStdAccessibleObject(window_, OBJID_WINDOW, __uuidof(IDispatch),
                                               reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        if (!Live()) return CO_E_OBJNOTCONNECTED;
        *count = source_->AccessibleChildCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        int index = 0;
        if (const HRESULT checked = ChildIndex(child, index); checked != S_OK) return checked;
        if (index < 0) return E_INVALIDARG;
        IAccessible* found = ChildObject(index);
        if (!found) return S_FALSE;
        *object = found;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, [this] { return source_->AccessibleName(); },
                    [](const AccessibleChild& described) { return described.name; });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, value, [this] { return source_->AccessibleValue(); },
                    [](const AccessibleChild& described) { return described.value; });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Text(child, description, [] { return std::wstring(); },
                    [](const AccessibleChild& described) { return described.description; });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        VariantInit(role);
        int index = 0;
        if (const HRESULT checked = ChildIndex(child, index); checked != S_OK) return checked;
        SetChildId(role, index < 0 ? source_->AccessibleRole() : source_->AccessibleChildAt(index).role);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        VariantInit(state);
        int index = 0;
        if (const HRESULT checked = ChildIndex(child, index); checked != S_OK) return checked;
        LONG flags = 0;
        if (index < 0) {
            flags = source_->AccessibleState();
            if (!IsWindowVisible(window_)) flags |= STATE_SYSTEM_INVISIBLE;
            if (GetFocus() == window_) flags |= STATE_SYSTEM_FOCUSED;
        } else {
            flags = source_->AccessibleChildAt(index).state;
            if (GetFocus() == window_ && source_->AccessibleFocus() == index) flags |= STATE_SYSTEM_FOCUSED;
        }
        SetChildId(state, flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return ReturnText({}, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (topic) *topic = 0;
        return ReturnText({}, file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override { return ReturnText({}, keys); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        VariantInit(focus);
        if (!Live()) return CO_E_OBJNOTCONNECTED;
        if (GetFocus() != window_) return S_FALSE;
        const int index = source_->AccessibleFocus();
        SetChildId(focus, index >= 0 && index < source_->AccessibleChildCount() ? index + 1 : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        VariantInit(selection);
        if (!Live()) return CO_E_OBJNOTCONNECTED;
        const int index = source_->AccessibleSelection();
        if (index < 0 || index >= source_->AccessibleChildCount()) return S_FALSE;
        SetChildId(selection, index + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Text(child, action, [] { return std::wstring(); },
                    [](const AccessibleChild& described) { return described.defaultAction; });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        int index = 0;
        if (const HRESULT checked = ChildIndex(child, index); checked != S_OK) return checked;
        if (index < 0) {
            if ((flags & SELFLAG_TAKEFOCUS) == 0) return S_FALSE;
            SetFocus(window_);
            return S_OK;
        }
        return source_->AccessibleSelect(index, flags) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        int index = 0;
        if (const HRESULT checked = ChildIndex(child, index); checked != S_OK) return checked;
        const RECT screen = ToScreen(window_, index < 0 ? OwnBounds() : ChildBounds(index));
        *left = screen.left;
        *top = screen.top;
        *width = screen.right - screen.left;
        *height = screen.bottom - screen.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        VariantInit(end);
        int index = 0;
        if (const HRESULT checked = ChildIndex(start, index); checked != S_OK) return checked;
        const long target = AccessibleNavigate(source_->AccessibleChildCount(), index + 1, direction);
        if (target == 0) return S_FALSE;
        Place(end, static_cast<int>(target) - 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        VariantInit(hit);
        if (!Live()) return CO_E_OBJNOTCONNECTED;
        POINT point{x, y};
        ScreenToClient(window_, &point);
        const RECT own = OwnBounds();
        if (!PtInRect(&own, point)) return S_FALSE;
        std::vector<RECT> rects;
        const int count = source_->AccessibleChildCount();
        rects.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) rects.push_back(ChildBounds(i));
        const long child = AccessibleChildAt(rects, point);
        if (child == 0) {
            SetChildId(hit, CHILDID_SELF);
        } else {
            Place(hit, static_cast<int>(child) - 1);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        int index = 0;
        if (const HRESULT checked = ChildIndex(child, index); checked != S_OK) return checked;
        if (index < 0) return DISP_E_MEMBERNOTFOUND;
        return source_->AccessibleDoDefaultAction(index) ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~DrawnAccessible() override = default;

    [[nodiscard]] bool Live() const { return source_ && IsWindow(window_); }

    // The 0-based child a VARIANT names, -1 for the object itself.
    HRESULT ChildIndex(const VARIANT& child, int& index) const {
        if (!Live()) return CO_E_OBJNOTCONNECTED;
        if (child.vt == VT_EMPTY) {
            index = -1;
            return S_OK;
        }
        if (child.vt != VT_I4 && child.vt != VT_I2) return E_INVALIDARG;
        const long id = child.vt == VT_I4 ? child.lVal : child.iVal;
        if (id < 0 || id > source_->AccessibleChildCount()) return E_INVALIDARG;
        index = static_cast<int>(id) - 1;
        return S_OK;
    }

    template <typename OwnText, typename ChildText>
    HRESULT Text(const VARIANT& child, BSTR* out, OwnText own, ChildText ofChild) {
        if (!out) return E_POINTER;
        *out = nullptr;
        int index = 0;
        if (const HRESULT checked = ChildIndex(child, index); checked != S_OK) return checked;
        if (index < 0) return ReturnText(own(), out);
        const AccessibleChild described = source_->AccessibleChildAt(index);
        return ReturnText(ofChild(described), out);
    }

    [[nodiscard]] RECT OwnBounds() const {
        if (const std::optional<RECT> bounds = source_->AccessibleBounds()) return *bounds;
        RECT client{};
        GetClientRect(window_, &client);
        return client;
    }

    // A child window's place is the window's own, wherever it has moved.
    [[nodiscard]] RECT ChildBounds(int index) const {
        const AccessibleChild described = source_->AccessibleChildAt(index);
        if (!described.window) return described.bounds;
        RECT rect{};
        if (!IsWindowVisible(described.window) || !GetWindowRect(described.window, &rect)) return RECT{};
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    // A child that is an object (its own or a child window's), with a reference; null for a simple one.
    IAccessible* ChildObject(int index) {
        if (IAccessible* own = source_->AccessibleChildObject(index)) return own;
        const HWND childWindow = source_->AccessibleChildAt(index).window;
        if (!childWindow) return nullptr;
        IAccessible* windowObject = nullptr;
        if (ComFailed(OleaccAccessibleObjectFromWindow(childWindow, static_cast<DWORD>(OBJID_WINDOW),
                                                       __uuidof(IAccessible), reinterpret_cast<void**>(&windowObject)),
                      L"accessibility: AccessibleObjectFromWindow")) {
            return nullptr;
        }
        return windowObject;
    }

    // A navigation's or a hit test's answer: the child's object when it has one, else its number.
    void Place(VARIANT* out, int index) {
        if (IAccessible* object = ChildObject(index)) {
            SetDispatch(out, object);
        } else {
            SetChildId(out, index + 1);
        }
    }

    HWND window_;
    AccessibleSource* source_;
};

AccessibleHolder::~AccessibleHolder() { Disconnect(); }

IAccessible* AccessibleHolder::Get(HWND window, AccessibleSource& source) {
    if (!window || window == cutOffWindow) return nullptr;
    if (!object) {
        object = new (std::nothrow) DrawnAccessible(window, &source);
        if (!object) return nullptr;
    }
    object->AddRef();
    return object;
}

std::optional<LRESULT> AccessibleHolder::AnswerGetObject(HWND window, AccessibleSource& source, WPARAM wParam,
                                                         LPARAM lParam) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return std::nullopt;
    IAccessible* accessible = Get(window, source);
    if (!accessible) return std::nullopt;
    const LRESULT answer = OleaccLresultFromObject(__uuidof(IAccessible), wParam, accessible);
    accessible->Release();
    return answer;
}

void AccessibleHolder::Disconnect(HWND closingWindow) {
    if (closingWindow) cutOffWindow = closingWindow;
    if (!object) return;
    object->Disconnect();
    object->Release();
    object = nullptr;
}

void NotifyAccessibleEvent(DWORD event, HWND window, int index) {
    if (window) NotifyWinEvent(event, window, OBJID_CLIENT, index < 0 ? CHILDID_SELF : index + 1);
}
