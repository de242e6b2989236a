#pragma once

#include <windows.h>
#include <oleacc.h>

// The COM side every IAccessible of the program shares: IUnknown with a
// reference count, and an IDispatch without type information (tools call
// IAccessible directly). Made with one reference, for the maker.
class AccessibleComObject : public IAccessible {
public:
    AccessibleComObject(const AccessibleComObject&) = delete;
    AccessibleComObject& operator=(const AccessibleComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) final;
    ULONG STDMETHODCALLTYPE AddRef() final;
    ULONG STDMETHODCALLTYPE Release() final;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) final;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) final;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) final;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) final;

protected:
    AccessibleComObject() = default;
    virtual ~AccessibleComObject() = default;

private:
    LONG refs_ = 1;
};
