#pragma once

#include <windows.h>
#include <oleacc.h>

// The three functions of oleacc.dll the chrome uses, the library loaded on the
// first call: that is when an assistive tool first asks a window, and a start
// that no tool asks about never loads it. Each fails with E_NOTIMPL (or 0)
// when the library or the function is missing.
[[nodiscard]] LRESULT OleaccLresultFromObject(REFIID riid, WPARAM wParam, IUnknown* object);
[[nodiscard]] HRESULT OleaccCreateStdAccessibleObject(HWND window, LONG objectId, REFIID riid, void** object);
[[nodiscard]] HRESULT OleaccAccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID riid, void** object);
