#pragma once

// Move-only owners for the Win32 handles and COM pointers the program holds.
// Each owner closes its handle exactly once, when it goes out of scope or is reset.

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    [[nodiscard]] Type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::IsValid(handle_); }

    // Gives up ownership without closing.
    [[nodiscard]] Type release() noexcept { return std::exchange(handle_, Traits::Empty()); }

    void reset(Type handle = Traits::Empty()) noexcept {
        Type old = std::exchange(handle_, handle);
        if (Traits::IsValid(old)) Traits::Close(old);
    }

    // For out-parameters: closes what is held and returns the slot to fill.
    [[nodiscard]] Type* put() noexcept {
        reset();
        return &handle_;
    }

private:
    Type handle_ = Traits::Empty();
};

namespace handle_traits {

struct Kernel {
    using Type = HANDLE;
    static Type Empty() noexcept { return nullptr; }
    // CreateFileW and CreateNamedPipeW fail with INVALID_HANDLE_VALUE, most others with null.
    static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};

struct RegistryKey {
    using Type = HKEY;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { RegCloseKey(h); }
};

struct Menu {
    using Type = HMENU;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { DestroyMenu(h); }
};

struct Icon {
    using Type = HICON;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { DestroyIcon(h); }
};

template <typename GdiObject>
struct Gdi {
    using Type = GdiObject;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { DeleteObject(h); }
};

struct MemoryDc {
    using Type = HDC;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { DeleteDC(h); }
};

// FindFirstFileW fails with INVALID_HANDLE_VALUE, and its handle is closed by FindClose.
struct Find {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { FindClose(h); }
};

struct WindowsHook {
    using Type = HHOOK;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { UnhookWindowsHookEx(h); }
};

template <typename Pointer>
struct LocalMemory {
    using Type = Pointer;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type p) noexcept { return p != nullptr; }
    static void Close(Type p) noexcept { LocalFree(reinterpret_cast<HLOCAL>(p)); }
};

// Memory for the clipboard, which owns it once SetClipboardData has taken it.
struct GlobalMemory {
    using Type = HGLOBAL;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { GlobalFree(h); }
};

template <typename Pointer>
struct CoTaskMemory {
    using Type = Pointer;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type p) noexcept { return p != nullptr; }
    static void Close(Type p) noexcept { CoTaskMemFree(p); }
};

}  // namespace handle_traits

using UniqueKernelHandle = UniqueHandle<handle_traits::Kernel>;
using UniqueKey = UniqueHandle<handle_traits::RegistryKey>;
using UniqueMenu = UniqueHandle<handle_traits::Menu>;
using UniqueIcon = UniqueHandle<handle_traits::Icon>;
using UniqueBitmap = UniqueHandle<handle_traits::Gdi<HBITMAP>>;
using UniqueFont = UniqueHandle<handle_traits::Gdi<HFONT>>;
using UniqueBrush = UniqueHandle<handle_traits::Gdi<HBRUSH>>;
using UniquePen = UniqueHandle<handle_traits::Gdi<HPEN>>;
using UniqueMemoryDc = UniqueHandle<handle_traits::MemoryDc>;
using UniqueHook = UniqueHandle<handle_traits::WindowsHook>;
using UniqueFind = UniqueHandle<handle_traits::Find>;
using UniqueGlobal = UniqueHandle<handle_traits::GlobalMemory>;
using UniqueArgv = UniqueHandle<handle_traits::LocalMemory<LPWSTR*>>;
using CoTaskMemString = UniqueHandle<handle_traits::CoTaskMemory<PWSTR>>;
using UniqueIdList = UniqueHandle<handle_traits::CoTaskMemory<PIDLIST_ABSOLUTE>>;

// Selects a GDI object into a device context and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Owns one reference to a COM interface we consume.
template <typename Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }

    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    [[nodiscard]] Interface* get() const noexcept { return pointer_; }
    Interface* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    void reset() noexcept {
        if (Interface* old = std::exchange(pointer_, nullptr)) old->Release();
    }

    // Takes over a reference the caller already owns.
    void attach(Interface* pointer) noexcept {
        reset();
        pointer_ = pointer;
    }

    [[nodiscard]] Interface** put() noexcept {
        reset();
        return &pointer_;
    }

    template <typename Other>
    HRESULT As(ComPtr<Other>& result) const noexcept {
        if (!pointer_) return E_POINTER;
        return pointer_->QueryInterface(__uuidof(Other), reinterpret_cast<void**>(result.put()));
    }

private:
    Interface* pointer_ = nullptr;
};
