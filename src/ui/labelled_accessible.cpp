#include "ui/labelled_accessible.h"

#include <oleacc.h>

#include <new>
#include <string>

#include "ui/accessible_com.h"
#include "ui/event_log.h"
#include "ui/handles.h"
#include "ui/oleacc_entry.h"

namespace {

// Declared by oleacc.h, defined there only for the one file that includes
// initguid.h first; spelled out here instead.
constexpr CLSID kAccPropServicesClass = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kAccNameProperty = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// Set on a control whose name the property service took.
constexpr wchar_t kAnnotatedProperty[] = L"Quorlen.NameAnnotated";

ComPtr<IAccPropServices> PropertyServices() {
    ComPtr<IAccPropServices> services;
    if (ComFailed(CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER, kAccPropServicesInterface,
                                   reinterpret_cast<void**>(services.put())),
                  L"accessibility: create AccPropServices")) {
        services.reset();
    }
    return services;
}

// The system's object with one answer changed: the control's own name.
class LabelledAccessible final : public AccessibleComObject {
public:
    LabelledAccessible(IAccessible* standard, const wchar_t* label) : standard_(standard), label_(label) {}
    LabelledAccessible(const LabelledAccessible&) = delete;
    LabelledAccessible& operator=(const LabelledAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        if (!IsSelf(child)) return standard_->get_accName(child, name);
        *name = SysAllocString(label_.c_str());
        return *name ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return standard_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return standard_->get_accFocus(focus); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        return standard_->accHitTest(x, y, hit);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~LabelledAccessible() override { standard_->Release(); }

    static bool IsSelf(const VARIANT& child) {
        return child.vt == VT_EMPTY || (child.vt == VT_I4 && child.lVal == CHILDID_SELF);
    }

    IAccessible* standard_;
    std::wstring label_;
};

}  // namespace

void NameStandardControl(HWND control, const wchar_t* name) {
    const ComPtr<IAccPropServices> services = PropertyServices();
    if (services && !ComFailed(services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                        kAccNameProperty, name),
                               L"accessibility: IAccPropServices::SetHwndPropStr")) {
        SetPropW(control, kAnnotatedProperty, reinterpret_cast<HANDLE>(1));
    }
}

void ForgetStandardControlName(HWND control) {
    if (!RemovePropW(control, kAnnotatedProperty)) return;
    // The service keeps its annotations until they are cleared, past the window's end.
    if (const ComPtr<IAccPropServices> services = PropertyServices()) {
        services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &kAccNameProperty, 1);
    }
}

std::optional<LRESULT> AnswerLabelledGetObject(HWND window, const wchar_t* label, WPARAM wParam, LPARAM lParam) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return std::nullopt;
    if (GetPropW(window, kAnnotatedProperty)) return std::nullopt;
    IAccessible* standard = nullptr;
    if (ComFailed(OleaccCreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&standard)),
                  L"accessibility: CreateStdAccessibleObject") ||
        !standard) {
        return std::nullopt;
    }
    auto* labelled = new (std::nothrow) LabelledAccessible(standard, label);
    if (!labelled) {
        standard->Release();
        return std::nullopt;
    }
    const LRESULT answer = OleaccLresultFromObject(__uuidof(IAccessible), wParam, labelled);
    labelled->Release();
    return answer;
}
