#include "ui/oleacc_entry.h"

namespace {

using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using AccessibleObjectFromWindowFunction = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);

struct Oleacc {
    LresultFromObjectFunction lresultFromObject = nullptr;
    CreateStdAccessibleObjectFunction createStdAccessibleObject = nullptr;
    AccessibleObjectFromWindowFunction accessibleObjectFromWindow = nullptr;
};

template <typename Function>
Function Find(HMODULE library, const char* name) {
    // The usual way from FARPROC to the function's own type.
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

// Loaded once and kept for the process: the objects it made may be in use until the end.
const Oleacc& Library() {
    static const Oleacc loaded = [] {
        const HMODULE library = LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        Oleacc functions;
        functions.lresultFromObject = Find<LresultFromObjectFunction>(library, "LresultFromObject");
        functions.createStdAccessibleObject =
            Find<CreateStdAccessibleObjectFunction>(library, "CreateStdAccessibleObject");
        functions.accessibleObjectFromWindow =
            Find<AccessibleObjectFromWindowFunction>(library, "AccessibleObjectFromWindow");
        return functions;
    }();
    return loaded;
}

}  // namespace

LRESULT OleaccLresultFromObject(REFIID riid, WPARAM wParam, IUnknown* object) {
    const auto function = Library().lresultFromObject;
    return function ? function(riid, wParam, object) : 0;
}

HRESULT OleaccCreateStdAccessibleObject(HWND window, LONG objectId, REFIID riid, void** object) {
    if (object) *object = nullptr;
    const auto function = Library().createStdAccessibleObject;
    return function ? function(window, objectId, riid, object) : E_NOTIMPL;
}

HRESULT OleaccAccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID riid, void** object) {
    if (object) *object = nullptr;
    const auto function = Library().accessibleObjectFromWindow;
    return function ? function(window, objectId, riid, object) : E_NOTIMPL;
}
